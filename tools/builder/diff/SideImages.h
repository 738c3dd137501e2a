// Plain side images for a patch whose author gives none: the wizard's side
// image (Setup.img) and the maker's image (Zuli.img), vertical gradients.
#pragma once
#include <string>

// A 24-bit bottom-up Windows bitmap file, `width` by `height` pixels,
// shading from `top` to `bottom` (0xRRGGBB).
std::string GradientBitmap(int width, int height, unsigned top, unsigned bottom);

std::string DefaultSetupImage();
std::string DefaultMakerImage();
