#include "DialogTemplateReader.h"

namespace guitest {

namespace {

// Walks a DLGTEMPLATE or DLGTEMPLATEEX; any read past the end marks it broken.
class TemplateWalker {
public:
    TemplateWalker(const BYTE* data, size_t size) : m_data(data), m_at(data), m_end(data + size) {}

    bool Controls(std::vector<TemplateControl>& controls) {
        const bool extended = Word(0) == 1 && Word(2) == 0xFFFF;
        uint32_t style = 0;
        uint16_t count = 0;
        if (extended) {
            Skip(8); // version, signature, help id
            Skip(4); // extended style
            style = Dword();
            count = ReadWord();
        } else {
            style = Dword();
            Skip(4);
            count = ReadWord();
        }
        Skip(8);         // x, y, cx, cy
        NameOrOrdinal(); // menu
        NameOrOrdinal(); // class
        String();        // title
        if ((style & DS_SETFONT) != 0) {
            Skip(extended ? 6 : 2); // size (weight, italic, charset)
            String();
        }
        for (uint16_t i = 0; i < count && m_ok; ++i) {
            Align();
            TemplateControl control = {};
            if (extended) {
                Skip(12); // help id, extended style, style
                Skip(8);
                control.id = Dword();
            } else {
                Skip(8);
                Skip(8);
                control.id = ReadWord();
            }
            NameOrOrdinal(); // class
            control.text = NameOrOrdinal();
            Skip(ReadWord()); // creation data
            controls.push_back(control);
        }
        return m_ok;
    }

private:
    uint16_t Word(size_t offset) const {
        return m_data + offset + 2 <= m_end ? *reinterpret_cast<const uint16_t*>(m_data + offset)
                                            : 0;
    }
    void Skip(size_t bytes) {
        if (m_at + bytes > m_end) {
            m_ok = false;
            m_at = m_end;
            return;
        }
        m_at += bytes;
    }
    uint16_t ReadWord() {
        const BYTE* const at = m_at;
        Skip(2);
        return m_ok ? *reinterpret_cast<const uint16_t*>(at) : 0;
    }
    uint32_t Dword() {
        const BYTE* const at = m_at;
        Skip(4);
        return m_ok ? *reinterpret_cast<const uint32_t*>(at) : 0;
    }
    std::wstring String() {
        std::wstring text;
        for (uint16_t c = ReadWord(); m_ok && c != 0; c = ReadWord()) {
            text += static_cast<wchar_t>(c);
        }
        return text;
    }
    // A name's text; an ordinal or nothing reads as empty.
    std::wstring NameOrOrdinal() {
        const uint16_t first = ReadWord();
        if (first == 0xFFFF) {
            Skip(2);
            return std::wstring();
        }
        if (first == 0) {
            return std::wstring();
        }
        return static_cast<wchar_t>(first) + String();
    }
    void Align() {
        const size_t offset = static_cast<size_t>(m_at - m_data);
        Skip((4 - offset % 4) % 4);
    }

    const BYTE* m_data;
    const BYTE* m_at;
    const BYTE* m_end;
    bool m_ok = true;
};

} // namespace

bool ReadTemplateControls(HMODULE module, WORD dialog, LANGID lang,
                          std::vector<TemplateControl>& controls) {
    const HRSRC found =
        FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(dialog), lang);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* const data = static_cast<const BYTE*>(LockResource(loaded));
    if (data == nullptr) {
        return false;
    }
    return TemplateWalker(data, SizeofResource(module, found)).Controls(controls);
}

std::wstring TemplateText(HMODULE module, WORD dialog, LANGID lang, uint32_t controlId) {
    std::vector<TemplateControl> controls;
    ReadTemplateControls(module, dialog, lang, controls);
    for (const TemplateControl& control : controls) {
        if (control.id == controlId) {
            return control.text;
        }
    }
    return std::wstring();
}

} // namespace guitest
