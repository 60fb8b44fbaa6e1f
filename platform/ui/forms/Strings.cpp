#include "ui/forms/Strings.h"

#include "ui/forms/Component.h"

namespace ui::forms {

int TStrings::IndexOf(const std::string& text) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (detail::SameName(GetString(i), text)) return i;
    return -1;
}

} // namespace ui::forms
