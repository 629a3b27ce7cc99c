// An executable for the file version tests; only its version note matters.
int main()
{
    return 0;
}
