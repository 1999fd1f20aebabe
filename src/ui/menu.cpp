#include "ui/menu.h"

#include <QAction>
#include <QFile>
#include <QScreen>
#include <QXmlStreamReader>

#include "platform/debug_output.h"
#include "ui/attribute_parse.h"
#include "ui/language.h"
#include "ui/render.h"
#include "ui/resources.h"
#include "ui/window.h"

namespace zrv::ui {

namespace {

struct ItemSpec {
  QString name, text, userData, icon;
  bool resourceText = false, checkable = false, checked = false, enabled = true, visible = true;
};

}  // namespace

Menu::~Menu() { Close(); }

void Menu::Close() {
  if (menu_) {
    menu_->close();
    delete menu_;
  }
}

bool Menu::IsOpen() const { return menu_ && menu_->isVisible(); }

bool Menu::Load(const QString& file, WindowBase* window) {
  Close();
  error_ = SkinError();
  window_ = window;
  const QString path = Resources::Instance().ResolveLayout(file);
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error_ = {path, 0, QStringLiteral("cannot open the menu file")};
    platform::DebugOut(("menu: " + error_.ToString()).toStdString());
    return false;
  }
  auto* root = new QMenu(window);
  root->setObjectName(QStringLiteral("zrv_menu"));
  QList<QMenu*> stack;
  QList<QAction*> actions;  // the element that is open at each depth, when it is an item
  QXmlStreamReader xml(&f);
  bool sawRoot = false;
  auto fail = [&](int line, const QString& message) {
    error_ = {path, line, message};
    delete root;
    platform::DebugOut(("menu: " + error_.ToString()).toStdString());
    return false;
  };
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement()) {
      if (xml.name() == u"MenuElement" && !stack.isEmpty()) {
        // Leaving an item: when it had children its submenu was on the stack.
        if (actions.last() == nullptr) stack.removeLast();
        actions.removeLast();
      }
      continue;
    }
    if (!xml.isStartElement()) continue;
    const int line = static_cast<int>(xml.lineNumber());
    if (!sawRoot) {
      if (xml.name() != u"Menu") return fail(line, QStringLiteral("the root element must be <Menu>"));
      sawRoot = true;
      stack.append(root);
      continue;
    }
    QMenu* into = stack.last();
    // An item that turns out to have children becomes a submenu.
    if (!actions.isEmpty() && actions.last() != nullptr) {
      QAction* parentAction = actions.last();
      auto* sub = new QMenu(parentAction->text(), into);
      sub->setIcon(parentAction->icon());
      into->insertMenu(parentAction, sub);
      into->removeAction(parentAction);
      delete parentAction;
      actions.last() = nullptr;
      stack.append(sub);
      into = sub;
    }
    if (xml.name() == u"Separator") {
      into->addSeparator();
      xml.skipCurrentElement();
      continue;
    }
    if (xml.name() != u"MenuElement") {
      return fail(line, QStringLiteral("unknown element <%1> (expected <MenuElement> or <Separator>)").arg(xml.name()));
    }
    ItemSpec spec;
    for (const QXmlStreamAttribute& a : xml.attributes()) {
      const QString k = a.name().toString();
      const QString v = a.value().toString();
      bool ok = true;
      if (k == u"name")
        spec.name = v;
      else if (k == u"text")
        spec.text = v;
      else if (k == u"userdata")
        spec.userData = v;
      else if (k == u"icon")
        spec.icon = v;
      else if (k == u"resourcetext")
        ok = attr::ParseBool(v, &spec.resourceText);
      else if (k == u"checkable")
        ok = attr::ParseBool(v, &spec.checkable);
      else if (k == u"checked")
        ok = attr::ParseBool(v, &spec.checked);
      else if (k == u"enabled")
        ok = attr::ParseBool(v, &spec.enabled);
      else if (k == u"visible")
        ok = attr::ParseBool(v, &spec.visible);
      if (!ok) return fail(line, QStringLiteral("attribute %1=\"%2\" of MenuElement is not valid").arg(k, v));
    }
    auto* action = into->addAction(spec.resourceText ? TextById(spec.text) : spec.text);
    action->setObjectName(spec.name);
    action->setCheckable(spec.checkable);
    action->setChecked(spec.checked);
    action->setEnabled(spec.enabled);
    action->setVisible(spec.visible);
    action->setProperty("userdata", spec.userData);
    if (!spec.icon.isEmpty()) {
      const QImage icon = render::LoadImage(spec.icon, 2.0);
      if (!icon.isNull()) action->setIcon(QIcon(QPixmap::fromImage(icon)));
    }
    QPointer<WindowBase> target = window;
    QObject::connect(action, &QAction::triggered, action, [action, target](bool checked) {
      if (!target) return;
      MenuCommand cmd;
      cmd.name = action->objectName();
      cmd.userData = action->property("userdata").toString();
      cmd.text = action->text();
      cmd.checked = action->isCheckable() ? checked : false;
      target->OnMenuCommand(cmd);
    });
    actions.append(action);
  }
  if (xml.hasError()) return fail(static_cast<int>(xml.lineNumber()), xml.errorString());
  if (!sawRoot) return fail(0, QStringLiteral("no <Menu> element"));
  menu_ = root;
  return true;
}

QPoint Menu::AlignedPosition(const QPoint& point, const QSize& size, int align) {
  QPoint p = point;
  if (align & kMenuAlignRight) p.rx() -= size.width();
  if (align & kMenuAlignBottom) p.ry() -= size.height();
  return p;
}

void Menu::Show(const QPoint& globalPos, int align) {
  if (!menu_) return;
  menu_->ensurePolished();
  menu_->adjustSize();
  menu_->popup(AlignedPosition(globalPos, menu_->sizeHint(), align));
}

bool Menu::Init(const QString& file, WindowBase* window, const QPoint& globalPos, int align) {
  if (!Load(file, window)) return false;
  Show(globalPos, align);
  return true;
}

}  // namespace zrv::ui
