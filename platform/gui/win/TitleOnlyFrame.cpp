// Windows half of the title-only frame, which needs nothing more.

#include "platform/gui/TitleOnlyFrame.h"

namespace platform {

// Windows: the window flags Qt sets say it all.
void keepTitleOnlyFrame(QWidget* /*window*/) {}

} // namespace platform
