#include "services/Cast.h"

#include "platform/CommandBarGallery.h"
#include "platform/RuntimeError.h"

namespace Cast {

CommandBarGallery* ToGallery(CommandBarControl* control) {
    if (!control)
        return nullptr;
    auto* gallery = dynamic_cast<CommandBarGallery*>(control);
    if (!gallery)
        Err::Raise(RuntimeError::TypeMismatch);
    return gallery;
}

}  // namespace Cast
