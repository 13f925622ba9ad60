// The files tests/gif_samples.sh makes at build time with other programs.
#pragma once
#include "gif_test_support.h"

#include <string>

inline const char* const SampleFiles[] = {
    "im_plain", "im_interlaced", "im_256", "im_2col", "im_16col", "im_transparent", "im_anim",
    "pam_plain", "pam_interlaced", "pam_sorted",
    "sicle_o3", "sicle_interlaced", "sicle_7col", "sicle_anim",
    "giflib_plain", "giflib_interlaced",
};

// Single frames that cover the screen, with ImageMagick's pixels beside them.
inline const char* const SamplesWithPixels[] = {
    "im_plain", "im_interlaced", "im_256", "im_2col", "im_16col", "pam_plain", "pam_interlaced",
    "pam_sorted", "sicle_o3", "sicle_interlaced", "sicle_7col", "giflib_plain", "giflib_interlaced",
};

inline std::string SamplePath(const std::string& Name) { return std::string(GIF_SAMPLES) + "/" + Name; }
