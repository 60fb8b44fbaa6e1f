// Frames and the multiple-document windows of the navigation program.
//
// A frame holds its client window; a decorated frame places bars above and
// below it (Insert). A frame offers each command first to its active MDI child,
// then to its client, then handles it itself. The MDI client is a plain area
// in its background colour; an MDI child has no frame of its own, and with
// WS_MAXIMIZE it fills the client area and keeps filling it. The activated and
// the deactivated child receive WM_MDIACTIVATE when a child is made or one
// goes; the client receives WM_PARENTNOTIFY before a child is destroyed.
#pragma once

#include "ui/Window.h"

#include <QIcon>

namespace ui {

class TMDIChild;

class TFrameWindow : public TWindow {
  public:
    // The client window becomes this frame's child (it may be made before).
    TFrameWindow(TWindow* parent, const char* title = nullptr, TWindow* clientWnd = nullptr,
                 bool shrinkToClient = false, TModule* module = nullptr);

    TWindow* GetClientWindow() const { return client_; }
    // The frame's icon, from the module (large and small are one picture here).
    bool SetIcon(TModule* module, TResId id);
    bool SetIconSm(TModule* module, TResId id);

    const char* GetClassName() override;

    // Layer internals.
    QWidget* MakeWidget(QWidget* parentWidget) override;
    std::vector<TWindow*> CommandDelegates() const override;

  protected:
    void SetupWindow() override;
    // Where decorations and the client go, top to bottom.
    virtual void PlaceChildren();

    TWindow* client_;
    QIcon icon_;
};

class TDecoratedFrame : public TFrameWindow {
  public:
    enum TLocation { Top, Bottom };

    TDecoratedFrame(TWindow* parent, const char* title, TWindow* clientWnd,
                    bool trackMenuSelection = false, TModule* module = nullptr);

    // A bar (made with this frame as parent) goes above or below the client,
    // after the bars already there.
    void Insert(TWindow& decoration, TLocation location = Top);

  protected:
    void PlaceChildren() override;

  private:
    std::vector<std::pair<TWindow*, TLocation>> decorations_;
};

class TMDIClient : public TWindow {
  public:
    explicit TMDIClient(TModule* module = nullptr);
    ~TMDIClient() override;

    TMDIChild* GetActiveMDIChild() const { return active_; }
    // Makes child the active child (WM_MDIACTIVATE to it and to the one before).
    void ActivateChild(TMDIChild* child);

    const char* GetClassName() override;
    void GetWindowClass(WNDCLASS& wc) override;

    // Layer internals.
    QWidget* MakeWidget(QWidget* parentWidget) override;
    void ChildGone(TMDIChild* child);
    void FitChildren();

  private:
    TMDIChild* active_ = nullptr;
};

class TDecoratedMDIFrame : public TDecoratedFrame {
  public:
    // menuResId names a menu; the programs have none and pass 0.
    TDecoratedMDIFrame(const char* title, TResId menuResId, TMDIClient& clientWnd,
                       bool trackMenuSelection = false, TModule* module = nullptr);
    TMDIClient* GetClientWindow() const { return static_cast<TMDIClient*>(client_); }
};

class TMDIChild : public TWindow {
  public:
    TMDIChild(TMDIClient& parent, const char* title = nullptr, TModule* module = nullptr);
    ~TMDIChild() override;

    TMDIClient* GetMDIClient() const;
    bool Create() override;
    void Destroy(int retVal = 0) override;
};

} // namespace ui
