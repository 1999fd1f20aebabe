#include "ui/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include <condition_variable>
#include <mutex>

#include "platform/debug_output.h"
#include "ui/attribute_parse.h"
#include "ui/dialog_builder.h"
#include "ui/language.h"
#include "ui/lookup.h"
#include "ui/render.h"

namespace zrv::ui {

namespace {

// State shared between a worker waiting in SendCustomMessage and the UI thread.
struct SendState {
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
  bool handled = false;
  bool dropped = false;  // the window went away before it handled the message
};

class CustomMessageEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  CustomMessageEvent(int message, qint64 w, qint64 l, std::shared_ptr<SendState> state)
      : QEvent(Kind()), message(message), wParam(w), lParam(l), state(std::move(state)) {}
  // An event dropped unhandled (the window went away) still releases its sender.
  ~CustomMessageEvent() override { Finish(false, true); }
  void Finish(bool handled, bool dropped = false) {
    if (!state) return;
    {
      std::lock_guard<std::mutex> lock(state->mutex);
      if (state->done) return;
      state->done = true;
      state->handled = handled;
      state->dropped = dropped;
    }
    state->done_cv.notify_all();
  }
  int message;
  qint64 wParam, lParam;
  std::shared_ptr<SendState> state;
};

QEvent::Type WindowInitKind() {
  static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
  return kind;
}

}  // namespace

WindowBase::WindowBase() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // The layout's fixed sizes must not dictate the window's minimum: mininfo does.
  layout->setSizeConstraint(QLayout::SetNoConstraint);
}

WindowBase::~WindowBase() {
  if (loop_) loop_->quit();
}

bool WindowBase::OnCustomMessage(int message, qint64 wParam, qint64 lParam) {
  (void)message;
  (void)wParam;
  (void)lParam;
  return false;
}

bool WindowBase::Create(QWidget* parent, const QString& title) {
  error_ = SkinError();
  if (parent) setParent(parent, windowFlags() | Qt::Window);
  if (!title.isEmpty()) setWindowTitle(title);
  if (root_) {
    delete root_->Widget();
    root_ = nullptr;
  }
  DialogBuilder builder;
  Control* root = builder.CreateWindowContent(this);
  if (!root) {
    error_ = builder.Error();
    platform::DebugOut(("window " + GetWindowClassName() + ": " + error_.ToString()).toStdString());
    return false;
  }
  root_ = root;
  layout()->addWidget(root->Widget());
  root->Widget()->show();
  ApplyFonts();
  if (init_size_.isValid() && !init_size_.isEmpty()) resize(Scale(init_size_.width()), Scale(init_size_.height()));
  ApplyMinMax();
  InitWindow();
  // "windowinit" arrives once the event loop runs: after Create and whatever the caller does next.
  QCoreApplication::postEvent(this, new QEvent(WindowInitKind()));
  return true;
}

int WindowBase::ShowModal() {
  modal_result_ = 0;
  closing_ = false;
  setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
  QEventLoop loop;
  loop_ = &loop;
  QPointer<WindowBase> alive(this);
  ShowWindow(true, true);
  if (!closing_) loop.exec(QEventLoop::DialogExec);
  if (!alive) return 0;
  loop_ = nullptr;
  setWindowModality(Qt::NonModal);
  return modal_result_;
}

void WindowBase::Close(int code) {
  modal_result_ = code;
  closing_ = true;
  hide();
  if (loop_) loop_->quit();
  OnFinalMessage();
}

void WindowBase::CenterWindow() {
  QRect area;
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (owner && owner->isVisible()) {
    area = owner->frameGeometry();
  } else {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    area = s->availableGeometry();
  }
  QRect r = frameGeometry();
  r.moveCenter(area.center());
  move(r.topLeft());
}

void WindowBase::ShowWindow(bool show, bool takeFocus) {
  if (!show) {
    hide();
    return;
  }
  closing_ = false;
  QWidget::show();
  if (takeFocus) {
    raise();
    activateWindow();
  }
}

void WindowBase::SetIcon(const QIcon& icon) { setWindowIcon(icon); }

void WindowBase::SetIcon(const QString& imageFile) {
  const QImage image = render::LoadImage(imageFile, 4.0);
  if (!image.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

Control* WindowBase::FindControl(const QString& name) const {
  if (!root_) return nullptr;
  if (root_->GetName() == name) return root_;
  return FindSubControlByName(root_, name);
}

QList<Control*> WindowBase::AllControls() const {
  QList<Control*> all;
  if (!root_) return all;
  all.append(root_);
  all.append(SubControls(root_->Widget()));
  return all;
}

void WindowBase::SendNotify(Notify& msg) {
  QPointer<WindowBase> alive(this);
  OnNotify(msg);
  if (!alive || listeners_.isEmpty()) return;
  const auto listeners = listeners_;  // a listener may remove itself
  for (const auto& l : listeners) {
    if (!alive) return;
    l(msg);
  }
}

int WindowBase::AddNotifyListener(std::function<void(const Notify&)> listener) {
  const int id = next_listener_++;
  listeners_.insert(id, std::move(listener));
  return id;
}

void WindowBase::RemoveNotifyListener(int id) { listeners_.remove(id); }

void WindowBase::PostCustomMessage(int message, qint64 wParam, qint64 lParam) {
  QCoreApplication::postEvent(this, new CustomMessageEvent(message, wParam, lParam, nullptr));
}

bool WindowBase::SendCustomMessage(int message, qint64 wParam, qint64 lParam,
                                   const std::function<bool()>& stopRequested, bool* handled) {
  if (QThread::currentThread() == thread()) {
    const bool h = OnCustomMessage(message, wParam, lParam);
    if (handled) *handled = h;
    return true;
  }
  auto state = std::make_shared<SendState>();
  QCoreApplication::postEvent(this, new CustomMessageEvent(message, wParam, lParam, state));
  std::unique_lock<std::mutex> lock(state->mutex);
  while (!state->done) {
    if (stopRequested && stopRequested()) return false;
    // Woken at once when the UI thread is done; the time-out only bounds how late a stop request
    // is seen.
    state->done_cv.wait_for(lock, std::chrono::milliseconds(20));
  }
  if (handled) *handled = state->handled;
  return !state->dropped;
}

void WindowBase::SetZoom(double zoom) {
  if (zoom <= 0.0 || zoom == zoom_) return;
  const double old = zoom_;
  zoom_ = zoom;
  ApplyFonts();
  for (Control* c : AllControls()) c->ZoomChanged();
  ApplyMinMax();
  ApplyMask();
  if (root_) resize((QSizeF(size()) * (zoom / old)).toSize());
}

void WindowBase::SetFont(int id, const FontSpec& font, bool isDefault) {
  fonts_.insert(id, font);
  if (isDefault) default_font_ = id;
}

void WindowBase::RemoveAllFonts() {
  fonts_.clear();
  default_font_ = -1;
}

const FontSpec* WindowBase::GetFontSpec(int id) const {
  if (id < 0) id = default_font_;
  auto it = fonts_.constFind(id);
  return it == fonts_.constEnd() ? nullptr : &it.value();
}

QFont WindowBase::MakeFont(int id) const {
  const FontSpec* spec = GetFontSpec(id);
  if (!spec) spec = GetFontSpec(-1);
  QFont f = QApplication::font();
  int size = 12;
  if (spec) {
    if (!spec->face.isEmpty()) f.setFamilies({spec->face});
    size = spec->size;
    f.setBold(spec->bold);
    f.setItalic(spec->italic);
    f.setUnderline(spec->underline);
  }
  f.setPixelSize(std::max(1, Scale(size)));
  return f;
}

void WindowBase::ApplyFonts() {
  // Controls without a font id inherit the window's font.
  QWidget::setFont(MakeFont(-1));
  for (Control* c : AllControls()) {
    if (c->GetFont() >= 0) c->ApplyFont();
  }
}

void WindowBase::SetRoundCorner(const QSize& radii) {
  round_corner_ = radii;
  ApplyMask();
}

void WindowBase::SetMinInfo(const QSize& size) {
  min_info_ = size;
  ApplyMinMax();
}

void WindowBase::SetMaxInfo(const QSize& size) {
  max_info_ = size;
  ApplyMinMax();
}

void WindowBase::ApplyMinMax() {
  setMinimumSize(min_info_.isValid() ? QSize(Scale(min_info_.width()), Scale(min_info_.height())) : QSize(0, 0));
  if (max_info_.isValid() && max_info_.width() > 0 && max_info_.height() > 0) {
    setMaximumSize(Scale(max_info_.width()), Scale(max_info_.height()));
  } else {
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
}

void WindowBase::ApplyMask() {
  // Without a windowing system there is nothing to round (and the platform says so loudly).
  if (QGuiApplication::platformName() == u"offscreen") return;
  if (round_corner_.width() <= 0 && round_corner_.height() <= 0) {
    clearMask();
    return;
  }
  QPainterPath path;
  path.addRoundedRect(QRectF(rect()), Scale(round_corner_.width()), Scale(round_corner_.height()));
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void WindowBase::SetWindowAttribute(const QString& name, const QString& value, SkinError* error) {
  auto bad = [&](const QString& what) {
    error->message = QStringLiteral("attribute %1=\"%2\" of Window must be %3").arg(name, value, what);
  };
  QSize size;
  QMargins m;
  bool b = false;
  if (name == u"size") {
    if (!attr::ParseSize(value, &size)) return bad(QStringLiteral("\"w,h\""));
    init_size_ = size;
  } else if (name == u"mininfo") {
    if (!attr::ParseSize(value, &size)) return bad(QStringLiteral("\"w,h\""));
    min_info_ = size;
  } else if (name == u"maxinfo") {
    if (!attr::ParseSize(value, &size)) return bad(QStringLiteral("\"w,h\""));
    max_info_ = size;
  } else if (name == u"caption") {
    if (!attr::ParseMargins(value, &m)) return bad(QStringLiteral("\"l,t,r,b\""));
    caption_ = QRect(m.left(), m.top(), m.right(), m.bottom());
  } else if (name == u"roundcorner") {
    if (!attr::ParseSize(value, &size)) return bad(QStringLiteral("\"rx,ry\""));
    round_corner_ = size;
  } else if (name == u"sizebox") {
    if (!attr::ParseMargins(value, &m)) return bad(QStringLiteral("\"l,t,r,b\""));
  } else if (name == u"frameless") {
    if (!attr::ParseBool(value, &b)) return bad(QStringLiteral("true or false"));
    setWindowFlag(Qt::FramelessWindowHint, b);
  } else if (name == u"bkcolor") {
    quint32 c = 0;
    if (!attr::ParseColor(value, &c)) return bad(QStringLiteral("a colour"));
    bk_color_ = c;
  } else if (name == u"title") {
    title_id_ = value;
    UpdateTitle();
  } else if (name == u"resourcetitle") {
    if (!attr::ParseBool(value, &b)) return bad(QStringLiteral("true or false"));
    resource_title_ = b;
    UpdateTitle();
  }
  // Other attributes are kept by no one: the window has no more settings.
}

void WindowBase::UpdateTitle() {
  if (title_id_.isEmpty()) return;
  setWindowTitle(resource_title_ ? TextById(title_id_) : title_id_);
}

bool WindowBase::event(QEvent* e) {
  if (e->type() == WindowInitKind()) {
    if (!init_sent_ && root_) {
      init_sent_ = true;
      root_->SendNotify(QString::fromLatin1(notify::kWindowInit));
    }
    return true;
  }
  if (e->type() == CustomMessageEvent::Kind()) {
    auto* m = static_cast<CustomMessageEvent*>(e);
    const bool handled = OnCustomMessage(m->message, m->wParam, m->lParam);
    m->Finish(handled);
    return true;
  }
  if (e->type() == QEvent::LanguageChange && resource_title_) UpdateTitle();
  return QWidget::event(e);
}

void WindowBase::closeEvent(QCloseEvent* e) {
  // The platform asks (title-bar close, Alt+F4): the window decides.
  e->ignore();
  if (closing_) return;
  if (OnCloseRequest()) Close(0);
}

void WindowBase::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  ApplyMask();
  if (root_) root_->SendNotify(QString::fromLatin1(notify::kWindowSize), width(), height());
}

void WindowBase::mousePressEvent(QMouseEvent* e) {
  // Presses that no control took: inside the caption band they move the window.
  if (e->button() == Qt::LeftButton && caption_.height() > 0) {
    const QRect band(Scale(caption_.left()), Scale(caption_.top()),
                     width() - Scale(caption_.left()) - Scale(caption_.width()), Scale(caption_.height()));
    if (band.contains(e->position().toPoint()) && windowHandle()) {
      windowHandle()->startSystemMove();
      e->accept();
      return;
    }
  }
  QWidget::mousePressEvent(e);
}

void WindowBase::paintEvent(QPaintEvent* e) {
  QWidget::paintEvent(e);
  if (bk_color_ == 0) return;
  QPainter painter(this);
  render::DrawColor(painter, rect(), bk_color_);
}

}  // namespace zrv::ui
