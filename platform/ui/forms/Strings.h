// A list of texts that belongs to a component: a combo box's Items, a tab
// control's Tabs, a memo's Lines. Texts are Windows-1252. Changing the list
// fires no event of its component.
#pragma once

#include <string>

namespace ui::forms {

class TStrings {
  public:
    virtual ~TStrings() = default;
    virtual int GetCount() const = 0;
    // The text at index (0 .. GetCount() - 1); "" outside.
    virtual std::string GetString(int index) const = 0;
    virtual void Add(const std::string& text) = 0;
    // Removes the text at index; nothing outside.
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // The index of the first text equal to `text` (ASCII case ignored), or -1.
    int IndexOf(const std::string& text) const;
};

} // namespace ui::forms
