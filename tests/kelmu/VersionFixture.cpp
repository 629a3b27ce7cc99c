// A module for the file version tests; only its version note matters.
extern "C" int kelmuVersionFixture()
{
    return 1;
}
