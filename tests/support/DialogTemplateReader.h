#pragma once
// Reads the dialog templates of a module: each control's id and text, as the template holds
// them (UTF-16), to compare with what a window built from it shows.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace guitest {

struct TemplateControl {
    uint32_t id;
    // Empty when the template names no text or gives an ordinal (a bitmap's id).
    std::wstring text;
};

// The controls of the dialog resource in that language exactly (no fall-back), in template
// order; false when the module has no such template or it is cut short.
bool ReadTemplateControls(HMODULE module, WORD dialog, LANGID lang,
                          std::vector<TemplateControl>& controls);
// The text of one control of that template; empty when there is none.
std::wstring TemplateText(HMODULE module, WORD dialog, LANGID lang, uint32_t controlId);

} // namespace guitest
