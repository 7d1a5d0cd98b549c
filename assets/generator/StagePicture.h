#pragma once

#include <QImage>

// The stage's default picture: a black line drawing on white whose closed regions invite flood fills.
// Lines are drawn without anti-aliasing, so every region is bounded by pure black and a fill stops there.
namespace StagePicture {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

QImage Make();

}  // namespace StagePicture
