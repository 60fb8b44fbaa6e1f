// Buttons, check boxes and radio buttons. An "&" in a caption marks the
// key letter.
//
// - Setting Checked fires OnClick when the state changes (a radio button only
//   when it becomes checked), as a click by the user does.
// - Radio buttons form one group per parent: checking one, by a click or by
//   the program, unchecks the others on the same parent without firing their
//   events. A click on a checked radio button changes nothing.
#pragma once

#include "ui/forms/Bitmap.h"
#include "ui/forms/Control.h"

class QAbstractButton;

namespace ui::forms {

class TButton : public TControl {
  public:
    explicit TButton(TComponent* owner);
    const char* ClassName() const override { return "TButton"; }

    std::string GetCaption() const { return GetTextValue(); }
    void SetCaption(const std::string& caption) { SetTextValue(caption); }

    TNotifyEvent OnClick;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override;

  private:
    std::string caption_;
};

// A button with a picture beside its caption.
class TBitBtn : public TButton {
  public:
    explicit TBitBtn(TComponent* owner);
    const char* ClassName() const override { return "TBitBtn"; }

    const TBitmap& GetGlyph() const { return glyph_; }
    void SetGlyph(const TBitmap& glyph);

  protected:
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    TBitmap glyph_;
};

class TCheckBox : public TControl {
  public:
    explicit TCheckBox(TComponent* owner);
    const char* ClassName() const override { return "TCheckBox"; }

    std::string GetCaption() const { return GetTextValue(); }
    void SetCaption(const std::string& caption) { SetTextValue(caption); }
    bool GetChecked() const;
    void SetChecked(bool checked);

    TNotifyEvent OnClick;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override;

  private:
    std::string caption_;
};

class TRadioButton : public TControl {
  public:
    explicit TRadioButton(TComponent* owner);
    const char* ClassName() const override { return "TRadioButton"; }

    std::string GetCaption() const { return GetTextValue(); }
    void SetCaption(const std::string& caption) { SetTextValue(caption); }
    bool GetChecked() const;
    void SetChecked(bool checked);

    TNotifyEvent OnClick;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override;

  private:
    void UncheckSiblings();
    std::string caption_;
    bool clickChecked_ = false;
};

} // namespace ui::forms
