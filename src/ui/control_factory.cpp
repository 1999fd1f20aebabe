#include "ui/control_factory.h"

#include <QHash>

namespace zrv::ui {

struct ControlFactory::Data {
  QHash<QString, Factory> classes;
  QHash<QString, QString> templates;
};

ControlFactory& ControlFactory::Instance() {
  static ControlFactory instance;
  return instance;
}

ControlFactory::Data& ControlFactory::data() const {
  static Data d;
  return d;
}

void ControlFactory::RegistControl(const QString& name, Factory factory) {
  data().classes.insert(name, std::move(factory));
}

void ControlFactory::RegistTemplate(const QString& name, const QString& layoutFile) {
  data().templates.insert(name, layoutFile);
}

void ControlFactory::Unregister(const QString& name) {
  data().classes.remove(name);
  data().templates.remove(name);
}

const ControlFactory::Factory* ControlFactory::Find(const QString& elementName) const {
  auto it = data().classes.constFind(elementName);
  if (it == data().classes.constEnd())
    it = data().classes.constFind(QStringLiteral("C") + elementName + QStringLiteral("UI"));
  return it == data().classes.constEnd() ? nullptr : &it.value();
}

bool ControlFactory::IsRegistered(const QString& elementName) const {
  return Find(elementName) != nullptr || data().templates.contains(elementName);
}

Control* ControlFactory::Create(const QString& elementName) const {
  const Factory* f = Find(elementName);
  return f && *f ? (*f)() : nullptr;
}

QString ControlFactory::TemplateFile(const QString& elementName) const { return data().templates.value(elementName); }

}  // namespace zrv::ui
