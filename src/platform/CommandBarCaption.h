#pragma once

#include <QString>

// Captions of command-bar controls mark their access key with "&" and write a literal ampersand as "&&".
namespace CommandBarCaption {

// The caption as it reads on screen: access-key marks removed, "&&" shown as "&".
QString Plain(const QString& caption);

}  // namespace CommandBarCaption
