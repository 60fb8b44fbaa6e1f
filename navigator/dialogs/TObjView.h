// The tree of chart objects that the information click lists for the object
// information dialog (TObjectInfoDialog): one TObjView per object, holding a
// clone of it and its texts, with its child objects below it.
//
// A node owns its object (a clone the chart database gave, deleted with the
// node: a chart cell stays locked in the cell cache while a clone of one of
// its objects lives) and its children; destroying a node destroys its
// object, its texts and, recursively, its children. Texts are Windows-1252
// bytes, copied when they are set; each may be absent.
//
//   auto root = std::make_unique<TObjView>();                 // no object, no texts
//   GdbObject* light = object.clone();
//   root->Append(std::make_unique<TObjView>(light, ObjectClassNameText(*light),
//                                           ObjectAttributeText(*light),
//                                           ObjectNameText(*light)));
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

class GdbObject;

// What a tree item leads to: the object's attribute text (null when it has
// none) and the object itself (null for a node without one).
struct TObjInfo {
    const std::string* attributes = nullptr;
    GdbObject* object = nullptr;
};

class TObjView {
  public:
    // A node of `object` (taken over; may be null) with copies of the texts.
    explicit TObjView(GdbObject* object = nullptr,
                      std::optional<std::string> className = std::nullopt,
                      std::optional<std::string> attributes = std::nullopt,
                      std::optional<std::string> objectName = std::nullopt);
    ~TObjView();
    TObjView(const TObjView&) = delete;
    TObjView& operator=(const TObjView&) = delete;

    GdbObject* Object() const { return object_.get(); }
    // Takes `object` over in place of the one held, which is deleted.
    void SetObject(GdbObject* object);

    const std::optional<std::string>& ClassName() const { return className_; }
    const std::optional<std::string>& Attributes() const { return attributes_; }
    const std::optional<std::string>& ObjectName() const { return objectName_; }
    void SetClassName(std::optional<std::string> text) { className_ = std::move(text); }
    void SetAttributes(std::optional<std::string> text) { attributes_ = std::move(text); }
    void SetObjectName(std::optional<std::string> text) { objectName_ = std::move(text); }

    // Appends a child after the ones already there; answers it.
    TObjView& Append(std::unique_ptr<TObjView> child);
    const std::vector<std::unique_ptr<TObjView>>& Children() const { return children_; }

    TObjInfo Info() const;
    // The text of the node's tree item: the class name, then " - " and the
    // object name when there is one.
    std::string ItemText() const;

  private:
    std::unique_ptr<GdbObject> object_;
    std::optional<std::string> className_, attributes_, objectName_;
    std::vector<std::unique_ptr<TObjView>> children_;
};

// The longest attribute text the dialog shows (the limit of its rich text).
inline constexpr std::size_t kAttributeTextLimit = 0x7FFF;
// The flags the texts are printed with: everything but bit 2 (a line per
// attribute).
inline constexpr unsigned long kObjectTextFlags = 0xFFFFFFFB;

// The object's class name (PrintName with kObjectTextFlags); none when the
// object prints no name.
std::optional<std::string> ObjectClassNameText(GdbObject& object);
// The object's attributes (Print with kObjectTextFlags into a buffer that
// grows until the text fits) without the first line: everything up to and
// including the first line feed is dropped, and the rest is cut to
// kAttributeTextLimit bytes. None when nothing is left.
std::optional<std::string> ObjectAttributeText(GdbObject& object);
// The value text of the first attribute of code 87 (the object's name) whose
// value address is not null; none without one.
std::optional<std::string> ObjectNameText(GdbObject& object);
