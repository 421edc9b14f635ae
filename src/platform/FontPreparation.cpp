#include "platform/FontPreparation.h"

#include <dlfcn.h>

namespace platform {

FontPreparation::FontPreparation()
{
    // fontconfig is already loaded with Qt's GUI library; its initialisation is safe to
    // run beside Qt's own use of it, which then finds the configuration read.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        thread_ = std::thread(init);
}

FontPreparation::~FontPreparation()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace platform
