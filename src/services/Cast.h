#pragma once

class CommandBarControl;
class CommandBarGallery;

// Conversions between the kinds of command-bar controls.
namespace Cast {

// None stays none; a gallery comes back as a gallery; any other control raises 13 (type mismatch).
CommandBarGallery* ToGallery(CommandBarControl* control);

}  // namespace Cast
