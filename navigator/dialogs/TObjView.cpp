#include "dialogs/TObjView.h"

#include "gdb/GdbObject.h"

#include <vector>

namespace {

constexpr unsigned kObjectNameAttribute = 87;
// Printed texts grow their buffer from this size by doubling, up to the
// largest a chart object's attributes can come to.
constexpr unsigned kFirstBuffer = 1024, kLargestBuffer = 1u << 24;

} // namespace

TObjView::TObjView(GdbObject* object, std::optional<std::string> className,
                   std::optional<std::string> attributes, std::optional<std::string> objectName)
    : object_(object), className_(std::move(className)), attributes_(std::move(attributes)),
      objectName_(std::move(objectName)) {}

TObjView::~TObjView() = default;

void TObjView::SetObject(GdbObject* object) {
    object_.reset(object);
}

TObjView& TObjView::Append(std::unique_ptr<TObjView> child) {
    children_.push_back(std::move(child));
    return *children_.back();
}

TObjInfo TObjView::Info() const {
    return {attributes_ ? &*attributes_ : nullptr, object_.get()};
}

std::string TObjView::ItemText() const {
    std::string text = className_.value_or("");
    if (objectName_) text += " - " + *objectName_;
    return text;
}

std::optional<std::string> ObjectClassNameText(GdbObject& object) {
    const int length = object.PrintName(nullptr, 0, kObjectTextFlags);
    if (length <= 0) return std::nullopt;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int written =
        object.PrintName(buffer.data(), static_cast<unsigned>(buffer.size()), kObjectTextFlags);
    if (written <= 0) return std::nullopt;
    return std::string(buffer.data());
}

std::optional<std::string> ObjectAttributeText(GdbObject& object) {
    std::vector<char> buffer;
    for (unsigned size = kFirstBuffer;; size *= 2) {
        buffer.assign(size, '\0');
        const int n = object.Print(buffer.data(), size, kObjectTextFlags);
        // A text that fits answers its length; a cut one the size.
        if (n >= 0 && static_cast<unsigned>(n) < size) break;
        if (size >= kLargestBuffer) break; // keep what the largest buffer holds
    }
    buffer.back() = '\0';
    const std::string text(buffer.data());
    const std::size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos) return std::nullopt; // the first line is all there is
    std::string rest = text.substr(lineEnd + 1, kAttributeTextLimit);
    if (rest.empty()) return std::nullopt;
    return rest;
}

std::optional<std::string> ObjectNameText(GdbObject& object) {
    for (TGdbAttr* a = object.FirstAttr(); a; a = object.NextAttr()) {
        if (a->GetLabel() != static_cast<int>(kObjectNameAttribute)) continue;
        void* value = nullptr;
        a->GetValue(&value, 0);
        if (!value) continue;
        std::vector<char> buffer;
        for (unsigned size = 256;; size *= 2) {
            buffer.assign(size, '\0');
            const int n = a->PrintValue(buffer.data(), size);
            // A cut text answers size - 1, a text that fits its length.
            if (n < static_cast<int>(size) - 1 || size >= kLargestBuffer) break;
        }
        buffer.back() = '\0';
        return std::string(buffer.data());
    }
    return std::nullopt;
}
