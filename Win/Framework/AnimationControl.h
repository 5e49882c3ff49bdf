#pragma once
// The busy animation: an AVI clip from the resources, played in a loop.

#include "GuiControl.h"

class AnimationControl : public GuiControl {
public:
    AnimationControl() = default;
    // Stops the clip.
    ~AnimationControl() override;

    // Opens the AVI resource and plays it for ever from the first frame.
    void Play(const char* resourceName);
    // Stops and closes the clip.
    void Stop();
};
