#include "app/skin_frame.h"

#include <QPointer>

#include "app/skin_observer.h"
#include "platform/debug_output.h"
#include "ui/containers.h"
#include "ui/file_dialog.h"

namespace zrv::app {

CSkinFrame* CSkinFrame::Open(ui::WindowBase* parent, ui::Control* button) {
  auto* frame = new CSkinFrame;
  if (!frame->Create(parent, QStringLiteral("skinframe"))) {
    platform::DebugPrintf("skin window not created: %s", qPrintable(frame->LastError().ToString()));
    delete frame;
    return nullptr;
  }
  // A popup: it never takes the activation from the main window and closes on a click outside.
  frame->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
  if (parent != nullptr) frame->SetZoom(parent->GetZoom());
  if (button != nullptr) {
    const QWidget* widget = button->Widget();
    const QPoint bottom_right = widget->mapToGlobal(QPoint(widget->width(), widget->height()));
    frame->move(bottom_right.x() - frame->width(), bottom_right.y());
  }
  frame->show();
  return frame;
}

void CSkinFrame::ShowPage(int page) {
  if (auto* tabs = FindControl<ui::TabLayout>(QStringLiteral("skin_tab"))) tabs->SelectItem(page);
}

void CSkinFrame::OnNotify(ui::Notify& msg) {
  if (msg.type != QLatin1String(ui::notify::kClick) || msg.sender == nullptr) return;
  const QString name = msg.SenderName();
  SkinObserver& observer = SkinChangeObserver();
  if (name == u"skin_image") {
    ShowPage(0);
  } else if (name == u"skin_color") {
    ShowPage(1);
  } else if (name == u"skin_image_btn") {
    // The button's user data names the image; its own picture is the thumbnail.
    const QString image = msg.sender->GetUserData();
    observer.Broadcast({false, 0, image});
    if (!WriteSkinChoice(SkinIniFile(), true, image)) platform::DebugOut("main.ini not written");
  } else if (name == u"skin_color_btn") {
    observer.Broadcast({true, msg.sender->GetBkColor(), QString()});
  } else if (name == u"skin_reset") {
    const QString image = QString::fromLatin1(kDefaultSkinImage);
    observer.Broadcast({false, 0, image});
    if (!WriteSkinChoice(SkinIniFile(), false, image)) platform::DebugOut("main.ini not written");
  } else if (name == u"skin_Custom") {
    // The popup would close under the dialog: it goes first, the dialog belongs to the main window.
    QPointer<QWidget> owner = parentWidget();
    Close(0);
    const QString file =
        ui::OpenFileDialog(owner, QString(), QString::fromLatin1(kCustomFilter), QStringLiteral("*.png"));
    if (!file.isEmpty()) observer.Broadcast({false, 0, file});
  }
}

}  // namespace zrv::app
