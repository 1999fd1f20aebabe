#pragma once
// The registry of custom control classes (name -> factory) and of template names (name -> the
// layout file whose subtree an element of that name expands to). Process-wide, UI thread only.

#include <QString>

#include <functional>

namespace zrv::ui {

class Control;

class ControlFactory {
 public:
  using Factory = std::function<Control*()>;

  static ControlFactory& Instance();

  // Registers a class; an element named `name` or whose "C" + element + "UI" equals `name`
  // creates it. A second registration of a name replaces the first.
  void RegistControl(const QString& name, Factory factory);
  // An element named `name` expands to the subtree of `layoutFile`.
  void RegistTemplate(const QString& name, const QString& layoutFile);
  void Unregister(const QString& name);

  bool IsRegistered(const QString& elementName) const;
  // Null when no class of that element name is registered.
  Control* Create(const QString& elementName) const;
  // Empty when no template of that name is registered.
  QString TemplateFile(const QString& elementName) const;

 private:
  ControlFactory() = default;
  const Factory* Find(const QString& elementName) const;
  struct Data;
  Data& data() const;
};

// Convenience: ControlFactory::Instance().RegistControl(name, [] { return new T; }).
template <class T>
void RegistControl(const QString& name) {
  ControlFactory::Instance().RegistControl(name, [] { return static_cast<Control*>(new T); });
}

}  // namespace zrv::ui
