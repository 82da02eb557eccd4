#include "model/FormDescription.h"

#include <map>

namespace {
std::map<std::string, TFormDescription>& Forms() {
    static std::map<std::string, TFormDescription> forms;
    return forms;
}
} // namespace

void RegisterForm(TFormDescription form) {
    std::string name = form.ClassName;
    Forms()[name] = std::move(form);
}

const TFormDescription* FindForm(const std::string& className) {
    auto it = Forms().find(className);
    return it == Forms().end() ? nullptr : &it->second;
}

std::vector<std::string> RegisteredFormNames() {
    std::vector<std::string> names;
    for (const auto& [name, form] : Forms()) names.push_back(name);
    return names;
}
