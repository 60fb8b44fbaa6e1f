// Text fields: the one-line edit, the spin edit and the memo.
//
// - Setting Text (or a spin edit's Value) fires OnChange when the text
//   changes, as the user's typing does.
// - An edit's MaxLength (0: none) also cuts the texts the program sets.
// - A spin edit takes an optional sign and digits. Its text may be "", "-" or
//   "+" while the user types; Value is then 0 (the handlers test the text
//   first). Otherwise Value is the text's number held between MinValue and
//   MaxValue (no limits while they are equal); setting Value holds it there too,
//   and leaving the field puts a number beyond them back inside. The arrows
//   and the Up and Down keys step by 1.
// - A memo shows lines of text and is not edited by the user. Appended bytes
//   break lines at a CR, an LF or a CR LF, also when the CR ends one append
//   and the LF starts the next. A text that ends in a break has no empty line
//   after it. Control bytes show as U+FFFD.
#pragma once

#include "ui/forms/Control.h"
#include "ui/forms/Strings.h"

#include <memory>
#include <string_view>
#include <vector>

class QLineEdit;

namespace ui::forms {

class TEdit : public TControl {
  public:
    explicit TEdit(TComponent* owner);
    const char* ClassName() const override { return "TEdit"; }

    std::string GetText() const { return GetTextValue(); }
    void SetText(const std::string& text) { SetTextValue(text); }
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    TNotifyEvent OnChange;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& text) override;

  private:
    int maxLength_ = 0;
};

class TSpinEdit : public TControl {
  public:
    explicit TSpinEdit(TComponent* owner);
    const char* ClassName() const override { return "TSpinEdit"; }

    std::string GetText() const { return GetTextValue(); }
    void SetText(const std::string& text) { SetTextValue(text); }
    int GetValue() const;
    void SetValue(int value);
    int GetMinValue() const { return min_; }
    void SetMinValue(int value) { min_ = value; }
    int GetMaxValue() const { return max_; }
    void SetMaxValue(int value) { max_ = value; }

    TNotifyEvent OnChange;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& text) override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    void Step(int by);
    void Layout();
    int Hold(long long value) const;
    QLineEdit* edit_;
    QWidget* up_;
    QWidget* down_;
    int min_ = 0, max_ = 0;
};

class TMemo : public TControl {
  public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;
    const char* ClassName() const override { return "TMemo"; }

    std::string GetText() const { return GetTextValue(); }
    void SetText(const std::string& text) { SetTextValue(text); }
    TStrings& GetLines();
    // Appends bytes as received, breaking lines at CR, LF and CR LF.
    void AppendText(std::string_view bytes);

  protected:
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& text) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    class TLines;
    void Show(bool toEnd);
    std::vector<std::string> texts_;
    bool lastOpen_ = false;  // the last line has no break after it
    bool crPending_ = false; // the last byte taken was a CR
    std::unique_ptr<TLines> lines_;
};

} // namespace ui::forms
