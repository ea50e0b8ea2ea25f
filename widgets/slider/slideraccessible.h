// What a screen reader sees of the image slider: a slider with a name, a
// current value and a range, told of every change of the value.
#pragma once

// Makes assistive technology use the slider's interface; any number of
// calls, the first one counts.
void InstallSliderAccessibility();
