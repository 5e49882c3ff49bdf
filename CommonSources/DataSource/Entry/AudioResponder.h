#pragma once
// DG_AUDIO: the source has no audio, so every triplet fails.

#include "AbstractResponder.h"

class AudioResponder : public AbstractResponder {
public:
    ~AudioResponder() override = default;
    bool IsGroup(TW_UINT32 dg) const override { return dg == DG_AUDIO; }
};
