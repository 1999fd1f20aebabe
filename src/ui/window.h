#pragma once
// WindowBase: a top-level window whose content is a skin layout. A derived window names its
// layout (res.xml identifier or path) and class name, handles notifications in OnNotify, may
// answer the builder's create-control question, and gets menu commands and custom messages.

#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

#include "ui/control.h"
#include "ui/notify.h"
#include "ui/skin_error.h"

class QEventLoop;

namespace zrv::ui {

// A chosen menu item (see Menu).
struct MenuCommand {
  QString name;
  QString userData;
  QString text;
  bool checked = false;
};

// An entry of the window's font table (sizes in 96-DPI pixels).
struct FontSpec {
  QString face;
  int size = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

class WindowBase : public QWidget {
  Q_OBJECT
 public:
  WindowBase();
  ~WindowBase() override;

  // ---- what a derived window provides
  virtual QString GetSkinFile() const = 0;  // res.xml identifier or skin path
  virtual QString GetWindowClassName() const = 0;
  // Runs after the layout is built, before Create returns.
  virtual void InitWindow() {}
  virtual void OnNotify(Notify& msg) { (void)msg; }
  // The builder's create-control question for element names it does not know; null: not mine.
  virtual Control* CreateControl(const QString& className) {
    (void)className;
    return nullptr;
  }
  virtual void OnMenuCommand(const MenuCommand& command) { (void)command; }
  // Messages posted or sent with PostCustomMessage / SendCustomMessage; true when handled.
  virtual bool OnCustomMessage(int message, qint64 wParam, qint64 lParam);
  // After the window was closed (Close or the platform closing it).
  virtual void OnFinalMessage() {}
  // The platform asks the window to close (title-bar close, Alt+F4). Default: Close(0).
  // Return false to keep the window (a tray application hides it instead).
  virtual bool OnCloseRequest() { return true; }

  // ---- life
  // Builds the layout into the window and runs InitWindow; posts "windowinit". parent: the
  // owner (the window stays above it; modal windows block it). False with LastError() set when
  // the layout cannot be built.
  bool Create(QWidget* parent, const QString& title);
  const SkinError& LastError() const { return error_; }
  // Shows the window modally over its parent and returns the code given to Close.
  int ShowModal();
  // Hides the window, ends ShowModal with code, calls OnFinalMessage.
  void Close(int code = 0);
  bool IsModal() const { return loop_ != nullptr; }
  void CenterWindow();
  void ShowWindow(bool show = true, bool takeFocus = true);
  void SetIcon(const QIcon& icon);
  void SetIcon(const QString& imageFile);  // skin file (SVG or PNG)

  // ---- content
  Control* GetRoot() const { return root_; }
  Control* FindControl(const QString& name) const;
  template <class T>
  T* FindControl(const QString& name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  // Every control of the window (tree order).
  QList<Control*> AllControls() const;

  // ---- notifications: the one entry point (controls call it through Control::SendNotify).
  void SendNotify(Notify& msg);
  // Extra listeners that see every notification after OnNotify (a page, a test).
  int AddNotifyListener(std::function<void(const Notify&)> listener);
  void RemoveNotifyListener(int id);

  // ---- custom messages. Post: any thread, asynchronous. Send: any thread; waits until the
  // UI thread has handled it, but gives up (returns false) when stopRequested() becomes true,
  // so a worker being shut down never deadlocks; false too when the window went away first.
  // On the UI thread it calls the handler directly. handled: what OnCustomMessage answered.
  void PostCustomMessage(int message, qint64 wParam = 0, qint64 lParam = 0);
  bool SendCustomMessage(int message, qint64 wParam, qint64 lParam, const std::function<bool()>& stopRequested,
                         bool* handled = nullptr);

  // ---- zoom: sizes in layouts are 96-DPI pixels. SetZoom scales the window and its content.
  double GetZoom() const { return zoom_; }
  void SetZoom(double zoom);
  // DPI form of the zoom (96 = 1.0, 144 = 1.5).
  int GetDPI() const { return qRound(zoom_ * 96.0); }
  void SetDPI(int dpi) { SetZoom(dpi / 96.0); }
  int Scale(int px96) const { return qRound(px96 * zoom_); }

  // ---- font table (Font elements of the layout; code may replace it)
  void SetFont(int id, const FontSpec& font, bool isDefault = false);
  void RemoveAllFonts();
  const FontSpec* GetFontSpec(int id) const;  // -1: the default font; null when missing
  QFont MakeFont(int id) const;               // zoomed QFont for a control
  // Re-applies fonts to all controls (after changing the table).
  void ApplyFonts();

  // ---- styles and defaults of the layout
  QString GetStyle(const QString& name) const { return styles_.value(name); }
  void SetStyle(const QString& name, const QString& attributes) { styles_[name] = attributes; }
  QString GetDefaultAttributes(const QString& element) const { return defaults_.value(element); }
  void SetDefaultAttributes(const QString& element, const QString& attributes) { defaults_[element] = attributes; }

  // Size of the layout's Window element (96-DPI), after Create.
  QSize GetInitSize() const { return init_size_; }
  // Caption band (96-DPI rect: left/top/right insets, bottom = height); dragging it moves the window.
  void SetCaptionRect(const QRect& ltrb) { caption_ = ltrb; }
  void SetRoundCorner(const QSize& radii);
  void SetMinInfo(const QSize& size);
  void SetMaxInfo(const QSize& size);
  // Window attributes of the layout's Window element.
  void SetWindowAttribute(const QString& name, const QString& value, SkinError* error);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ApplyMask();
  void ApplyMinMax();
  void UpdateTitle();
  QString title_id_;
  bool resource_title_ = false;
  Control* root_ = nullptr;
  SkinError error_;
  double zoom_ = 1.0;
  QSize init_size_;
  QSize min_info_, max_info_;
  QRect caption_;
  QSize round_corner_;
  Argb bk_color_ = 0;
  QHash<int, FontSpec> fonts_;
  int default_font_ = -1;
  QHash<QString, QString> styles_;
  QHash<QString, QString> defaults_;
  QEventLoop* loop_ = nullptr;
  int modal_result_ = 0;
  bool closing_ = false;
  bool init_sent_ = false;
  QHash<int, std::function<void(const Notify&)>> listeners_;
  int next_listener_ = 1;
  friend class DialogBuilder;
};

}  // namespace zrv::ui
