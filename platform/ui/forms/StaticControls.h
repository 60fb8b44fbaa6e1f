// Controls that show and hold without taking input: labels, group boxes,
// panels, the status bar and the progress bar.
//
// - A label described without a width sizes itself to its text at each
//   caption; once the program sets its width or bounds it keeps them.
// - Group boxes and panels hold controls. A panel shows its caption in its
//   middle, under its controls, and its PopupMenu on a right click.
// - A status bar lies along the bottom of its parent, the full width.
// - A progress bar's Position is held between Min and Max (0 and 100 unless
//   described or set).
#pragma once

#include "ui/forms/Control.h"

namespace ui::forms {

class TPopupMenu;

class TLabel : public TControl {
  public:
    explicit TLabel(TComponent* owner);
    const char* ClassName() const override { return "TLabel"; }

    std::string GetCaption() const { return GetTextValue(); }
    void SetCaption(const std::string& caption) { SetTextValue(caption); }

  protected:
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override;
    void BoundsSet() override { autoSize_ = false; }
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    std::string caption_;
    bool autoSize_ = true;
};

class TGroupBox : public TControl {
  public:
    explicit TGroupBox(TComponent* owner);
    const char* ClassName() const override { return "TGroupBox"; }

    std::string GetCaption() const { return GetTextValue(); }
    void SetCaption(const std::string& caption) { SetTextValue(caption); }

  protected:
    QWidget* ClientArea() const override { return GetHandle(); }
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override;

  private:
    std::string caption_;
};

class TPanel : public TControl {
  public:
    explicit TPanel(TComponent* owner);
    const char* ClassName() const override { return "TPanel"; }

    std::string GetCaption() const { return GetTextValue(); }
    void SetCaption(const std::string& caption) { SetTextValue(caption); }
    // The menu a right click on the panel shows; null passes it to the parent.
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  protected:
    QWidget* ClientArea() const override { return GetHandle(); }
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;

  private:
    std::string caption_;
    TPopupMenu* popupMenu_ = nullptr;
};

class TStatusBar : public TControl {
  public:
    explicit TStatusBar(TComponent* owner);
    const char* ClassName() const override { return "TStatusBar"; }

    std::string GetSimpleText() const { return text_; }
    void SetSimpleText(const std::string& text);

  protected:
    void ParentSet() override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    void Align();
    std::string text_;
};

class TProgressBar : public TControl {
  public:
    explicit TProgressBar(TComponent* owner);
    const char* ClassName() const override { return "TProgressBar"; }

    int GetMin() const { return min_; }
    void SetMin(int min);
    int GetMax() const { return max_; }
    void SetMax(int max);
    int GetPosition() const { return position_; }
    void SetPosition(int position);

  protected:
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    void Apply();
    int min_ = 0, max_ = 100, position_ = 0;
};

} // namespace ui::forms
