#include "ParamsDialogFixture.h"

#include "params/IniFile.h"

void ParamsDialog::WriteDb(const std::vector<std::vector<std::string>>& entries) {
    TIniFile db(DbFile());
    for (const auto& e : entries)
        db.Write(e.at(0), e.at(1), e.at(2));
    ASSERT_TRUE(db.Save());
}

TParameterEditor* Row(const TRows& rows, const std::string& name) {
    for (const auto& r : rows)
        if (r->Def().Name == name) return r.get();
    ADD_FAILURE() << "no row " << name;
    return nullptr;
}

std::vector<std::string> Names(const TRows& rows) {
    std::vector<std::string> names;
    for (const auto& r : rows)
        names.emplace_back(r->Def().Name);
    return names;
}
