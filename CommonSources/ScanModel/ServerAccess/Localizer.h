#pragma once
// Turns server keywords ("ADF", "LETTER-R", "BLACK_WHITE" ...) into words of the interface
// language: the server's localisation session first, then a built-in table of keywords whose
// texts come from the string table, then the keyword itself.

#include <map>
#include <memory>
#include <string>

#include "LocalizerIntf.h"

class QuorvelWrapperIntf;

class Localizer : public LocalizerIntf {
public:
    // Opens the wrapper's localisation session in the interface language; with buildTable the
    // keyword table is filled from the string table.
    Localizer(QuorvelWrapperIntf* wrapper, bool buildTable);
    // Closes the wrapper's current localisation session.
    ~Localizer() override;

    std::string GetString(const std::string& key) override;

private:
    void BuildTable();

    QuorvelWrapperIntf* m_wrapper;
    std::unique_ptr<std::map<std::string, std::string>> m_table;
};
