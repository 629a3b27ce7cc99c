#pragma once

#include <string>

namespace lunor::platform {

// The user's short date format as a strftime pattern made of %d, %e, %m, %y and %Y and
// literal characters, for example "%m/%d/%y".
std::string shortDateFormat();

} // namespace lunor::platform
