#include "shell/message_box.h"

namespace appdu {

// "信息：" in code page 936.
const char kDefaultMessageTitle[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

}  // namespace appdu
