// Windows: the base of every window of the navigation program (frames, MDI
// client and child, bars, dialogs and controls).
//
// A TWindow object exists before and after its window: Create makes the window
// (a QWidget, GetHandle()) and calls SetupWindow, which creates the child
// windows; Destroy ends the window and leaves the object; deleting the object
// destroys its window and deletes the child objects still attached to it.
// Before a window is destroyed its parent object receives WM_PARENTNOTIFY with
// WM_DESTROY, the child's handle and id (whether the child is a WS_CHILD window
// or a window it owns).
//
// Messages reach the response table (EventHandler.h): mouse presses and moves
// with MK_* flags and client points, key presses with VK codes, sizes, timers,
// paints, WM_MDIACTIVATE and messages sent or posted with any id. A double click
// arrives as a second button press unless the window class asks for CS_DBLCLKS.
// What the table does not handle goes to Qt.
//
// Painting. A window that paints owns one surface image of its client size and
// one device context on it (GetDC). Anything drawn on that context at any time
// shows at the next repaint, which the layer asks for itself; Qt's own paint
// event only copies the surface to the screen. WM_PAINT comes only for areas
// made invalid (Invalidate, a size change, the first show), as Paint(dc, erase,
// rect) or an EV_WM_PAINT handler that uses TPaintDC; several invalidations
// before the paint give one WM_PAINT. When the area is to be erased and the
// window class has a background, the layer fills it and erase is false;
// without a background erase stays true and the window erases itself. Under
// CS_OWNDC the context keeps its state for the window's life; otherwise each
// GetDC and each paint starts from the default state. A size change keeps the
// pixels that still fit and invalidates (with erase) only the area it uncovers.
#pragma once

#include "ui/EventHandler.h"
#include "ui/Module.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ui {

class TApplication;
struct TWindowPrivate;

struct TWindowAttr {
    std::uint32_t Style = WS_CHILD | WS_VISIBLE;
    std::uint32_t ExStyle = 0;
    int X = CW_USEDEFAULT, Y = CW_USEDEFAULT, W = CW_USEDEFAULT, H = CW_USEDEFAULT;
    int Id = 0;
};

// A system colour as a background: resolved through GetSysColor when used.
inline constexpr TColor kSysColorBrushFlag = 0x80000000u;
constexpr TColor SysColorBrush(int element) {
    return kSysColorBrushFlag | TColor(element);
}

// A window class: its style (CS_OWNDC, CS_DBLCLKS) and background.
struct WNDCLASS {
    UINT style = 0;
    // The colour the layer erases invalid areas with; none when the window
    // paints every pixel itself. Defaults to the system window colour.
    std::optional<TColor> hbrBackground = SysColorBrush(COLOR_WINDOW);
    const char* lpszClassName = nullptr;
};

// What the current WM_PAINT asks for.
struct PAINTSTRUCT {
    bool fErase = false;
    TRect rcPaint;
};

class TWindow : public TEventHandler {
  public:
    // A window with the parent object (null for a top-level window), its title
    // (Windows-1252) and the module its resources come from.
    explicit TWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
    ~TWindow() override;
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    TWindowAttr Attr;

    TWindow* GetParentO() const { return parent_; }
    TModule* GetModule() const { return module_; }
    TApplication* GetApplication() const;
    const std::string& GetCaption() const { return title_; }
    int GetId() const { return Attr.Id; }

    // Makes the window and runs SetupWindow; true when it exists.
    virtual bool Create();
    bool IsWindow() const;
    HWND GetHandle() const;
    // Ends the window (children first); the object stays. retVal is a modal
    // dialog's result.
    virtual void Destroy(int retVal = 0);
    // Whether the window may close: every child is asked.
    virtual bool CanClose();
    // Destroys the window when CanClose agrees.
    virtual void CloseWindow(int retVal = 0);
    // Idle work: the children's first. Answers whether more idle passes are wanted.
    virtual bool IdleAction(long idleCount);

    virtual const char* GetClassName();
    virtual void GetWindowClass(WNDCLASS& wc);

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message for the window's thread; callable from any thread.
    // False when the window does not exist.
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    bool ShowWindow(int cmdShow);
    void MoveWindow(int x, int y, int w, int h, bool repaint = false);
    // Moves and sizes; x and y are parent-client coordinates for a child window
    // and screen coordinates otherwise. Without SWP_NOZORDER the window is
    // raised; without SWP_NOACTIVATE a top-level window is activated.
    bool SetWindowPos(HWND insertAfter, int x, int y, int w, int h, UINT flags);
    TRect GetClientRect() const;
    TRect GetWindowRect() const; // screen coordinates, frame included
    void ClientToScreen(TPoint& point) const;
    void ScreenToClient(TPoint& point) const;
    void Invalidate(bool erase = true);
    void InvalidateRect(const TRect& rect, bool erase = true);
    // Paints an invalid area at once.
    void UpdateWindow();
    void SetCaption(const char* title);
    bool EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    bool IsWindowVisible() const;
    HWND SetFocus();
    bool IsIconic() const;
    bool IsZoomed() const;
    bool BringWindowToTop();
    // The cursor shown over the window, from the module (null: the system's).
    bool SetCursor(TModule* module, TResId id);
    void SetBkgndColor(TColor color);
    TWindow* ChildWithId(int id) const;
    const std::vector<TWindow*>& GetChildren() const { return children_; }

    // Fires WM_TIMER with the id every ms milliseconds, also inside modal
    // loops; setting an id again restarts it. Returns the id, 0 without a window.
    UINT SetTimer(UINT id, UINT ms);
    bool KillTimer(UINT id);
    // The interval of timer id in milliseconds; 0 when there is none.
    UINT GetTimerInterval(UINT id) const;

    // The window's device context (see the header note).
    TDC& GetDC();
    virtual void Paint(TDC& dc, bool erase, TRect& rect);

    // Items by id: a dialog's template items, otherwise child windows.
    HWND GetDlgItem(int id) const;
    // At most size - 1 bytes and a NUL (line breaks of multi-line edits as
    // "\r\n"); returns the bytes copied.
    int GetDlgItemText(int id, char* buf, int size) const;
    void SetDlgItemText(int id, const char* text);
    // The text as a decimal number (blanks around it allowed); 0 and false in
    // *translated when it is not one or does not fit.
    UINT GetDlgItemInt(int id, bool* translated = nullptr, bool isSigned = true) const;
    void SetDlgItemInt(int id, UINT value, bool isSigned = true);
    // Whether the user changed an edit item since its text was last set.
    bool IsDlgItemModified(int id) const;
    void EnableDlgItem(int id, bool enable = true);

    DECLARE_RESPONSE_TABLE(TWindow);

  protected:
    // Creates the child windows that do not exist yet.
    virtual void SetupWindow();
    // Runs just before the window is destroyed.
    virtual void CleanupWindow();
    // The default paint: Paint with the current paint's context.
    void EvPaint();
    // What is done with a message that no table handles.
    virtual LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);
    // Asked to close (the title bar, WM_CLOSE, SIGTERM on the main window).
    virtual void EvClose();

  public:
    // Layer internals, shared by the window classes of the layer.
    virtual QWidget* MakeWidget(QWidget* parentWidget);
    // Where child windows' widgets go.
    virtual QWidget* ChildContainer() const;
    // Routes a command up the parent chain to the application.
    LRESULT RouteCommand(UINT id, UINT code, HWND control, bool* handled = nullptr);
    // Windows offered a command before this one on its way up (a frame: the
    // active MDI child, then the client).
    virtual std::vector<TWindow*> CommandDelegates() const;
    // Whether commands stop here (dialogs).
    virtual bool StopsCommands() const;
    // The widget of item id (dialogs: template items; others: child windows).
    virtual QWidget* FindItem(int id) const;
    // The cell a child window of this id fills (dialogs' custom items), or null.
    virtual QWidget* CellFor(int id) const;
    // Asks the command chain from this window for a command's state.
    void RouteCommandEnable(TCommandEnabler& ce);
    // Dispatches through the table; handled says whether an entry answered.
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled = nullptr);
    TWindowPrivate& Private() const { return *d_; }
    // Moves the object under another parent object (a frame adopting its client).
    void SetParentO(TWindow* parent);
    // Raises the children kept above their siblings (WS_EX_TOPMOST).
    void RaiseTopmostChildren();
    // A widget made by someone else (a dialog's item) becomes this window's handle.
    void AttachHandle(QWidget* widget);
    // Deletes the object after the current message (a modeless dialog that
    // closed itself).
    void DeleteLater();
    // The paint in progress, for TPaintDC.
    const PAINTSTRUCT* CurrentPaint() const;

  private:
    friend struct TWindowPrivate;
    void AddChild(TWindow* child);
    void RemoveChild(TWindow* child);

    TWindow* parent_;
    TModule* module_;
    std::string title_;
    std::vector<TWindow*> children_;
    std::unique_ptr<TWindowPrivate> d_;
};

// The window object of a handle, or null.
TWindow* GetWindowPtr(HWND handle);

// A window's rectangle in screen coordinates (frame included), for any handle.
TRect GetWindowRect(HWND handle);

// The device context of the paint in progress, with what it asks for.
class TPaintDC {
  public:
    explicit TPaintDC(TWindow& window);
    operator TDC&() const { return dc_; }
    TDC* operator->() const { return &dc_; }
    TDC& GetDC() const { return dc_; }
    PAINTSTRUCT Ps;

  private:
    TDC& dc_;
};

// Custom control classes that dialog templates name: a factory makes the
// window of an item of that class that no control object of the program
// claims. Registering a name again replaces the factory.
using TWindowFactory = TWindow* (*)(TWindow* parent, int id);
void RegisterClass(const char* name, TWindowFactory factory);
TWindowFactory FindRegisteredClass(const char* name);

} // namespace ui
