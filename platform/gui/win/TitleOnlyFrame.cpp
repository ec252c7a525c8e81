#include "platform/gui/TitleOnlyFrame.h"

namespace platform {

// Windows: the window flags Qt sets say it all.
void keepTitleOnlyFrame(QWidget* /*window*/) {}

} // namespace platform
