// Gadgets and the bars that hold them: control bar, status bar and tool box,
// and tool tips.
//
// A gadget window owns its gadgets and lays them out along its direction (a
// tool box in columns and rows), each at its desired size; a gadget marked
// WideAsPossible takes the room that is left. Each gadget paints on its own
// surface: Paint(dc) runs only after Invalidate (and on the first show), so a
// value set twice repaints once. The context starts with the gadget window's
// font, the button text colour and the button face as background.
//
// At idle, the gadget window asks the command chain (from the gadget window up
// to the application) about each button's command: its enabler decides, else a
// command that has a handler is enabled and one without is not. Buttons start
// disabled until that first pass. A click changes a button's state (a
// non-exclusive button toggles, an exclusive one goes down and its neighbouring
// exclusive buttons up) and then sends its command up the same chain.
#pragma once

#include "ui/Window.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace ui {

class TGadgetWindow;

// The font of gadget windows: "MS Sans Serif" at the point size (96 pixels per inch).
gdi::LogFont TGadgetWindowFont(int pointSize = 6, bool bold = false, bool italic = false);

class TGadget {
  public:
    enum TBorderStyle { None, Plain, Raised, Recessed, Embossed };

    explicit TGadget(int id = 0, TBorderStyle borderStyle = None);
    virtual ~TGadget();
    TGadget(const TGadget&) = delete;
    TGadget& operator=(const TGadget&) = delete;

    int GetId() const { return Id; }
    TBorderStyle GetBorderStyle() const { return BorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TGadgetWindow* GetGadgetWindow() const { return Window; }

    // Where the gadget lies in its window's client area, also before the
    // window is shown (in its set-up).
    TRect GetBounds() const;
    // Border and margins; gadgets with contents add their size.
    virtual void GetDesiredSize(TSize& size);
    // Draws the border; gadgets with contents draw them after calling this.
    virtual void Paint(TDC& dc);
    void PaintBorder(TDC& dc);
    // The bounds (at 0, 0) less border and margins.
    void GetInnerRect(TRect& rect);
    // Paints the gadget again at the next repaint.
    void Invalidate(bool erase = true);

    virtual void SetEnabled(bool enabled);
    bool GetEnabled() const { return Enabled; }
    // Asks the command chain about the gadget's command (buttons).
    virtual void CommandEnable() {}

    // The gadget takes the room its window has left.
    bool WideAsPossible = false;

    // Layer internals.
    virtual QWidget* MakeWidget(QWidget* parent);
    QWidget* GetHandle() const;
    void SetWindow(TGadgetWindow* window) { Window = window; }
    // The gadget's desired size changed: its window lays out again.
    void SizeChanged();

  protected:
    void SetHandle(QWidget* widget);
    int Id;
    TBorderStyle BorderStyle;
    bool Enabled = true;
    TGadgetWindow* Window = nullptr;

  private:
    friend class GadgetWidget;
    struct Private;
    std::unique_ptr<Private> p_;
};

class TSeparatorGadget : public TGadget {
  public:
    explicit TSeparatorGadget(int size = 6);
    void GetDesiredSize(TSize& size) override;

  private:
    int size_;
};

class TTextGadget : public TGadget {
  public:
    enum TAlign { Left, Center, Right };
    // numChars sets the width (average character widths); text is Windows-1252.
    TTextGadget(int id = 0, TBorderStyle style = Recessed, TAlign align = Left, UINT numChars = 10,
                const char* text = nullptr);
    void SetText(const char* text);
    const char* GetText() const { return text_.c_str(); }
    void GetDesiredSize(TSize& size) override;
    void Paint(TDC& dc) override;

  private:
    std::string text_;
    TAlign align_;
    UINT numChars_;
};

class TButtonGadget : public TGadget {
  public:
    enum TType { Command, Exclusive, NonExclusive };
    enum TState { Up, Down, Indeterminate };

    // The glyph is a bitmap of the gadget window's module.
    TButtonGadget(TResId glyph, int id, TType type = Command, bool enabled = false,
                  TState state = Up, bool repeat = false);
    ~TButtonGadget() override;

    TType GetButtonType() const { return type_; }
    TState GetButtonState() const { return state_; }
    // Down on an exclusive button puts its neighbouring exclusive buttons up;
    // Up may leave all of them up.
    void SetButtonState(TState state);
    void CommandEnable() override;
    void GetDesiredSize(TSize& size) override;

    // A click, as the user makes it: the state changes, then the command goes out.
    void Clicked();

    // Layer internals.
    QWidget* MakeWidget(QWidget* parent) override;

  private:
    void ShowState();
    const QImage& Glyph();
    TResId glyph_;
    QImage glyphImage_;
    bool glyphLoaded_ = false;
    TType type_;
    TState state_;
};

class TGadgetWindow : public TWindow {
  public:
    enum TTileDirection { Horizontal, Vertical };
    enum TPlacement { Before, After };

    TGadgetWindow(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                  const gdi::LogFont* font = nullptr, TModule* module = nullptr);
    ~TGadgetWindow() override; // deletes its gadgets

    // Takes the gadget (owned from now on), after or before the sibling (null:
    // at the end or the start).
    virtual void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr);
    TGadget* GadgetWithId(int id) const;
    const std::vector<TGadget*>& GetGadgets() const { return gadgets_; }

    void SetFont(const gdi::LogFont& font);
    const gdi::LogFont& GetFont() const { return font_; }
    std::shared_ptr<const gdi::Font> GetGdiFont() const;

    TTileDirection GetDirection() const { return direction_; }
    // The window's size for its gadgets: along the direction their sum, across
    // the largest, with the window's margins.
    virtual void GetDesiredSize(TSize& size);

    bool IdleAction(long idleCount) override;
    const char* GetClassName() override;

    // Layer internals.
    QWidget* MakeWidget(QWidget* parentWidget) override;
    virtual void LayoutGadgets();
    // Neighbouring exclusive buttons of the gadget, itself included.
    std::vector<TButtonGadget*> ExclusiveGroup(TButtonGadget& button) const;

  protected:
    void SetupWindow() override;
    int Margin = 2;
    int Spacing = 0;
    int Columns = 0; // a grid of this many columns (tool boxes)

  private:
    std::vector<TGadget*> gadgets_;
    TTileDirection direction_;
    gdi::LogFont font_;
    mutable std::shared_ptr<const gdi::Font> gdiFont_;
};

class TControlBar : public TGadgetWindow {
  public:
    TControlBar(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                const gdi::LogFont* font = nullptr, TModule* module = nullptr);
    const char* GetClassName() override;
};

class TStatusBar : public TGadgetWindow {
  public:
    // Starts with a text gadget for messages that takes the room left; gadgets
    // inserted later get the border style.
    TStatusBar(TWindow* parent = nullptr, TGadget::TBorderStyle borderStyle = TGadget::Recessed,
               UINT modeIndicators = 0, const gdi::LogFont* font = nullptr,
               TModule* module = nullptr);
    void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr) override;
    // The message text (Windows-1252).
    void SetText(const char* text);
    const char* GetText() const;
    const char* GetClassName() override;

    TGadget::TBorderStyle GetGadgetBorderStyle() const { return borderStyle_; }

  private:
    TGadget::TBorderStyle borderStyle_;
    TTextGadget* text_;
};

class TToolBox : public TGadgetWindow {
  public:
    static constexpr int AUTOCALCULATE = -1;
    // Buttons in numColumns columns (rows as needed when AUTOCALCULATE).
    TToolBox(TWindow* parent, int numColumns = 2, int numRows = AUTOCALCULATE,
             TTileDirection direction = Horizontal, TModule* module = nullptr);
    const char* GetClassName() override;

    // Cells of the largest gadget's size, no margins.
    void GetDesiredSize(TSize& size) override;

  private:
    int rows_;
};

// A tool tip: text shown while the pointer rests on a rectangle of a window.
struct TToolInfo {
    TToolInfo(TWindow& window, const TRect& rect, UINT id, const char* text)
        : Window(&window), Rect(rect), Id(id), Text(text ? text : "") {}
    TWindow* Window;
    TRect Rect; // in the window's client coordinates
    UINT Id;
    std::string Text; // Windows-1252
};

class TTooltip : public TWindow {
  public:
    explicit TTooltip(TWindow* parent, bool alwaysTip = true);
    ~TTooltip() override;
    bool AddTool(const TToolInfo& info);
    // The tool text at a point of a window, "" when none.
    std::string ToolTextAt(const TWindow& window, const TPoint& point) const;

    // Layer internals.
    QWidget* MakeWidget(QWidget* parentWidget) override;

  private:
    struct Private;
    std::unique_ptr<Private> p_;
};

} // namespace ui
