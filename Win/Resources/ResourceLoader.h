#pragma once
// Process-wide source of the data source's language-dependent resources: it picks the interface
// language once and finds strings, dialog templates and bitmaps in it, falling back to the
// language-neutral and then the US English resource.

#include <windows.h>
// windows.h maps these to their A/W variants; every unit must see the plain method names.
#undef LoadString
#undef FindResource
#undef LoadBitmap

#include <functional>
#include <string>

class ResourceLoader {
public:
    // Answers the integer preference "testl" (default -1), or -1 while no source object exists.
    using LanguagePreferenceSource = std::function<int()>;
    using SystemLangIdSource = std::function<LANGID()>;

    static ResourceLoader* Instance();

    // The data source installs the "testl" reader once its preference store can exist.
    static void SetLanguagePreferenceSource(LanguagePreferenceSource source);
    // Replaces GetSystemDefaultLangID; an empty function restores it.
    static void SetSystemLangIdSource(SystemLangIdSource source);

    // Callers use Instance(); a separate object serves only tests.
    ResourceLoader();
    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;
    virtual ~ResourceLoader();

    // Text of string-table entry id in the loader's ANSI code page; empty when not found.
    virtual std::string LoadString(int id) const;
    virtual void ChooseLanguage();
    virtual int GetLanguageIndex() const;
    virtual void SetLanguageIndex(int index);
    virtual std::string GetLanguageCode() const;
    virtual HMODULE GetModule() const;
    virtual void SetModule(HMODULE module);
    virtual void SetLangId(LANGID langId);
    // The RT_DIALOG template of dialogId, loaded; null when absent.
    virtual HGLOBAL LoadResourceData(int dialogId) const;
    virtual HRSRC FindResource(LPCSTR type, LPCSTR name) const;
    // Caller owns the bitmap; no language fall-back beyond the system's own.
    virtual HBITMAP LoadBitmap(int id) const;

    LANGID GetLangId() const { return m_langId; }
    UINT GetCodePage() const { return m_codePage; }

    // The language table: LANGID and code of an index (English for any unknown index).
    static LANGID LangIdForIndex(int index);
    static std::string CodeForIndex(int index);
    // Index for a system LANGID by its primary language.
    static int IndexForSystemLangId(LANGID langId);

protected:
    // One step of the fall-back chain: FindResourceExA on the module.
    virtual HRSRC FindResourceInLanguage(LPCSTR type, LPCSTR name, LANGID langId) const;

private:
    int m_languageIndex = 0;
    std::string m_languageCode;
    HMODULE m_module;
    LANGID m_langId = 0;
    UINT m_codePage = 0;
};
