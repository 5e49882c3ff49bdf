#pragma once
// A progress control; its window drives it with the progress-bar messages itself.

#include "GuiControl.h"

class ProgressBar : public GuiControl {};
