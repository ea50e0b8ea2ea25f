// The stored-form class of the image slider: TImageSlider with its published
// properties in their published order, its images and the UserImages stream.
#pragma once

void RegisterSliderClasses();
