#include "ui/dialog_builder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QXmlStreamReader>

#include <functional>
#include <memory>

#include "ui/attribute_parse.h"
#include "ui/button.h"
#include "ui/color_palette.h"
#include "ui/combo.h"
#include "ui/containers.h"
#include "ui/control_factory.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/list.h"
#include "ui/resources.h"
#include "ui/slider.h"
#include "ui/window.h"

namespace zrv::ui {

struct DialogBuilder::Node {
  QString name;
  QList<QPair<QString, QString>> attributes;  // document order
  QList<Node> children;
  int line = 0;

  QString Attribute(const QString& key) const {
    for (const auto& [k, v] : attributes) {
      if (k == key) return v;
    }
    return QString();
  }
  bool HasAttribute(const QString& key) const {
    for (const auto& a : attributes) {
      if (a.first == key) return true;
    }
    return false;
  }
};

namespace {

using BuiltIn = std::function<Control*()>;

const QHash<QString, BuiltIn>& BuiltIns() {
  static const QHash<QString, BuiltIn> kBuiltIns = {
      {"Control", [] { return static_cast<Control*>(new PlainControl); }},
      {"Container", [] { return static_cast<Control*>(new Container); }},
      {"HorizontalLayout", [] { return static_cast<Control*>(new HorizontalLayout); }},
      {"VerticalLayout", [] { return static_cast<Control*>(new VerticalLayout); }},
      {"TabLayout", [] { return static_cast<Control*>(new TabLayout); }},
      {"Label", [] { return static_cast<Control*>(new Label); }},
      {"Text", [] { return static_cast<Control*>(new Text); }},
      {"Button", [] { return static_cast<Control*>(new Button); }},
      {"Option", [] { return static_cast<Control*>(new Option); }},
      {"CheckBox", [] { return static_cast<Control*>(new CheckBox); }},
      {"Edit", [] { return static_cast<Control*>(new Edit); }},
      {"Combo", [] { return static_cast<Control*>(new Combo); }},
      {"List", [] { return static_cast<Control*>(new List); }},
      {"ListHeader", [] { return static_cast<Control*>(new ListHeader); }},
      {"ListHeaderItem", [] { return static_cast<Control*>(new ListHeaderItem); }},
      {"ListLabelElement", [] { return static_cast<Control*>(new ListLabelElement); }},
      {"ListTextElement", [] { return static_cast<Control*>(new ListTextElement); }},
      {"ListContainerElement", [] { return static_cast<Control*>(new ListContainerElement); }},
      {"Slider", [] { return static_cast<Control*>(new Slider); }},
      {"Progress", [] { return static_cast<Control*>(new Progress); }},
      {"ColorPalette", [] { return static_cast<Control*>(new ColorPalette); }},
  };
  return kBuiltIns;
}

bool IsListRow(const QString& name) {
  return name == u"ListLabelElement" || name == u"ListTextElement" || name == u"ListContainerElement";
}

}  // namespace

// One build: the files being read (to catch a template that includes itself) and the first error.
class DialogBuilder::Run {
 public:
  Run(WindowBase* window, bool useCallback) : window_(window), use_callback_(useCallback) {}

  SkinError error;

  // Reads and parses a layout file into a node tree.
  bool Parse(const QString& name, QString* path, Node* root) {
    *path = Resources::Instance().ResolveLayout(name);
    QFile f(*path);
    if (!f.open(QIODevice::ReadOnly)) {
      error = {Display(name, *path), 0, QStringLiteral("cannot open the layout file")};
      return false;
    }
    return ParseText(QString::fromUtf8(f.readAll()), Display(name, *path), root);
  }

  bool ParseText(const QString& text, const QString& origin, Node* root) {
    QXmlStreamReader xml(text);
    QList<Node*> stack;
    bool haveRoot = false;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement()) {
        Node node;
        node.name = xml.name().toString();
        node.line = static_cast<int>(xml.lineNumber());
        for (const QXmlStreamAttribute& a : xml.attributes()) {
          node.attributes.append({a.name().toString(), a.value().toString()});
        }
        if (stack.isEmpty()) {
          if (haveRoot) break;  // the reader reports the second root as an error
          *root = node;
          haveRoot = true;
          stack.append(root);
        } else {
          stack.last()->children.append(node);
          stack.append(&stack.last()->children.last());
        }
      } else if (xml.isEndElement()) {
        if (!stack.isEmpty()) stack.removeLast();
      }
    }
    if (xml.hasError()) {
      error = {origin, static_cast<int>(xml.lineNumber()), xml.errorString()};
      return false;
    }
    if (!haveRoot) {
      error = {origin, 0, QStringLiteral("the layout is empty")};
      return false;
    }
    return true;
  }

  // Builds a whole file: returns its root control (added to parent when given).
  Control* BuildFile(const Node& root, const QString& origin, Container* parent, bool forWindow) {
    if (files_.contains(origin)) {
      Fail(origin, root.line, QStringLiteral("the layout includes itself"));
      return nullptr;
    }
    files_.append(origin);
    Control* c = BuildTop(root, origin, parent, forWindow);
    files_.removeLast();
    return c;
  }

  Control* BuildNamed(const QString& name, Container* parent, int line, const QString& from) {
    Node root;
    QString path;
    if (!Parse(name, &path, &root)) {
      // Name the file and line that asked for the missing or broken file, too.
      if (!from.isEmpty()) error.message += QStringLiteral(" (used at %1:%2)").arg(from).arg(line);
      return nullptr;
    }
    return BuildFile(root, Display(name, path), parent, false);
  }

 private:
  static QString Display(const QString& name, const QString& path) {
    return QFileInfo::exists(path) ? path : QStringLiteral("%1 (%2)").arg(name, path);
  }

  void Fail(const QString& file, int line, const QString& message) {
    if (!error.IsError()) error = {file, line, message};
  }

  Control* BuildTop(const Node& root, const QString& file, Container* parent, bool forWindow) {
    if (root.name != u"Window") return BuildNode(root, file, parent);
    // A window layout: its settings, then its one control.
    const Node* content = nullptr;
    for (const Node& child : root.children) {
      if (child.name == u"Font") {
        if (!ReadFont(child, file)) return nullptr;
      } else if (child.name == u"Style") {
        if (window_)
          window_->SetStyle(child.Attribute(QStringLiteral("name")), child.Attribute(QStringLiteral("value")));
      } else if (child.name == u"Default") {
        if (window_) {
          window_->SetDefaultAttributes(child.Attribute(QStringLiteral("name")),
                                        child.Attribute(QStringLiteral("value")));
        }
      } else if (content) {
        Fail(file, child.line, QStringLiteral("a Window holds one root control"));
        return nullptr;
      } else {
        content = &child;
      }
    }
    if (forWindow && window_) {
      for (const auto& [name, value] : root.attributes) {
        SkinError e;
        window_->SetWindowAttribute(name, value, &e);
        if (e.IsError()) {
          Fail(file, root.line, e.message);
          return nullptr;
        }
      }
    }
    if (!content) {
      Fail(file, root.line, QStringLiteral("the Window has no root control"));
      return nullptr;
    }
    return BuildNode(*content, file, parent);
  }

  bool ReadFont(const Node& node, const QString& file) {
    if (!window_) return true;
    FontSpec spec;
    int id = 0;
    bool isDefault = false;
    for (const auto& [k, v] : node.attributes) {
      bool ok = true;
      if (k == u"id")
        ok = attr::ParseInt(v, &id);
      else if (k == u"name")
        spec.face = v;
      else if (k == u"size")
        ok = attr::ParseInt(v, &spec.size);
      else if (k == u"bold")
        ok = attr::ParseBool(v, &spec.bold);
      else if (k == u"italic")
        ok = attr::ParseBool(v, &spec.italic);
      else if (k == u"underline")
        ok = attr::ParseBool(v, &spec.underline);
      else if (k == u"default")
        ok = attr::ParseBool(v, &isDefault);
      if (!ok) {
        Fail(file, node.line, QStringLiteral("attribute %1=\"%2\" of Font is not valid").arg(k, v));
        return false;
      }
    }
    window_->SetFont(id, spec, isDefault);
    return true;
  }

  // The control an element name stands for: built in, the window's callback, the registry, or a
  // template file.
  Control* Instantiate(const Node& node, const QString& file, Container* parent) {
    from_template_ = false;
    auto builtIn = BuiltIns().constFind(node.name);
    if (builtIn != BuiltIns().constEnd()) return (*builtIn)();
    if (use_callback_ && window_) {
      if (Control* c = window_->CreateControl(node.name)) return c;
      if (error.IsError()) return nullptr;  // the callback's own template failed
    }
    if (Control* c = ControlFactory::Instance().Create(node.name)) return c;
    const QString tmpl = ControlFactory::Instance().TemplateFile(node.name);
    if (!tmpl.isEmpty()) {
      Control* c = BuildNamed(tmpl, parent, node.line, file);
      if (c) template_attached_ = parent != nullptr;
      from_template_ = true;
      return c;
    }
    Fail(file, node.line, QStringLiteral("unknown control class <%1>").arg(node.name));
    return nullptr;
  }

  void AddComboItem(Combo* combo, const Node& node, const QString& file) {
    ComboItem item;
    bool selected = false;
    attr::ErrorScope scope([&](const QString& m) { Fail(file, node.line, m); });
    for (const auto& [k, v] : node.attributes) {
      bool ok = true;
      if (k == u"text")
        item.text = v;
      else if (k == u"userdata")
        item.userData = v;
      else if (k == u"resourcetext")
        ok = attr::ParseBool(v, &item.resourceText);
      else if (k == u"visible")
        ok = attr::ParseBool(v, &item.visible);
      else if (k == u"height")
        ok = attr::ParseInt(v, &item.height);
      else if (k == u"selected")
        ok = attr::ParseBool(v, &selected);
      if (!ok) attr::ReportError(QStringLiteral("attribute %1=\"%2\" of %3 is not valid").arg(k, v, node.name));
    }
    const int index = combo->Add(item);
    if (selected) combo->SelectItem(index);
  }

  Control* BuildNode(const Node& node, const QString& file, Container* parent) {
    if (error.IsError()) return nullptr;
    if (node.name == u"Include") return BuildInclude(node, file, parent);

    template_attached_ = false;
    Control* c = Instantiate(node, file, parent);
    if (!c) return nullptr;
    const bool attached = template_attached_;
    const bool fromTemplate = from_template_;
    template_attached_ = false;
    QPointer<QWidget> guard(c->Widget());
    c->Widget()->setProperty("skinclass", node.name);
    // Into the tree first, so that attributes see the window (styles, fonts, groups).
    if (parent && !attached && !parent->Add(c)) {
      Fail(file, node.line, QStringLiteral("<%1> cannot be placed in <%2>").arg(node.name, parent->GetClass()));
      delete c->Widget();
      return nullptr;
    }
    {
      attr::ErrorScope scope([&](const QString& m) { Fail(file, node.line, m); });
      QString defaults = window_ ? window_->GetDefaultAttributes(node.name) : QString();
      if (defaults.isEmpty()) defaults = Resources::Instance().GetGlobalDefault(node.name);
      if (!defaults.isEmpty()) c->ApplyAttributeList(defaults);
      for (const auto& [k, v] : node.attributes) c->SetAttribute(k, v);
    }
    if (error.IsError()) {
      Discard(c, guard);
      return nullptr;
    }
    if (!node.children.isEmpty()) {
      auto* container = dynamic_cast<Container*>(c);
      auto* combo = dynamic_cast<Combo*>(c);
      for (const Node& child : node.children) {
        if (combo && IsListRow(child.name)) {
          AddComboItem(combo, child, file);
        } else if (container) {
          BuildNode(child, file, container);
        } else {
          Fail(file, child.line, QStringLiteral("<%1> cannot hold controls").arg(node.name));
        }
        if (error.IsError()) {
          Discard(c, guard);
          return nullptr;
        }
      }
    }
    if (!fromTemplate) c->DoInit();  // a template's root was initialised with its own file
    return guard ? c : nullptr;
  }

  Control* BuildInclude(const Node& node, const QString& file, Container* parent) {
    const QString source = node.Attribute(QStringLiteral("source"));
    if (source.isEmpty()) {
      Fail(file, node.line, QStringLiteral("<Include> needs source"));
      return nullptr;
    }
    int count = 1;
    if (node.HasAttribute(QStringLiteral("count")) &&
        (!attr::ParseInt(node.Attribute(QStringLiteral("count")), &count) || count < 1)) {
      Fail(file, node.line, QStringLiteral("count of <Include> must be a positive integer"));
      return nullptr;
    }
    Control* last = nullptr;
    for (int i = 0; i < count; ++i) {
      Control* c = BuildNamed(source, parent, node.line, file);
      if (!c) return nullptr;
      QPointer<QWidget> guard(c->Widget());
      {
        attr::ErrorScope scope([&](const QString& m) { Fail(file, node.line, m); });
        for (const auto& [k, v] : node.attributes) {
          if (k != u"source" && k != u"count") c->SetAttribute(k, v);
        }
      }
      if (error.IsError()) {
        Discard(c, guard);
        return nullptr;
      }
      last = c;
    }
    return last;
  }

  static void Discard(Control* c, const QPointer<QWidget>& guard) {
    if (guard) delete c->Widget();
  }

  WindowBase* window_;
  bool use_callback_;
  QStringList files_;
  bool template_attached_ = false;
  bool from_template_ = false;

 public:
  // The build that is running (a window's create-control callback may build a template
  // subtree with a builder of its own; its error then becomes the error of this build).
  static Run*& Outer() {
    static Run* outer = nullptr;
    return outer;
  }
  void AdoptError(const SkinError& e) {
    if (!error.IsError()) error = e;
  }
};

namespace {
// Makes a Run the outer one while it runs and hands its error outwards when it fails inside
// another build.
template <class Body>
Control* RunBuild(DialogBuilder::Run& run, SkinError* error, Body body) {
  DialogBuilder::Run* outer = DialogBuilder::Run::Outer();
  DialogBuilder::Run::Outer() = &run;
  Control* c = body();
  DialogBuilder::Run::Outer() = outer;
  *error = run.error;
  if (error->IsError() && outer) outer->AdoptError(*error);
  return error->IsError() ? nullptr : c;
}
}  // namespace

Control* DialogBuilder::Create(const QString& layout, WindowBase* window, Container* parent, bool useCallback) {
  error_ = SkinError();
  BuildingWindowScope scope(window);
  Run run(window, useCallback);
  return RunBuild(run, &error_, [&]() -> Control* {
    Node root;
    QString path;
    return run.Parse(layout, &path, &root) ? run.BuildFile(root, path, parent, false) : nullptr;
  });
}

Control* DialogBuilder::CreateFromText(const QString& xml, const QString& origin, WindowBase* window, Container* parent,
                                       bool useCallback) {
  error_ = SkinError();
  BuildingWindowScope scope(window);
  Run run(window, useCallback);
  return RunBuild(run, &error_, [&]() -> Control* {
    Node root;
    return run.ParseText(xml, origin, &root) ? run.BuildFile(root, origin, parent, false) : nullptr;
  });
}

Control* DialogBuilder::CreateWindowContent(WindowBase* window) {
  error_ = SkinError();
  BuildingWindowScope scope(window);
  Run run(window, true);
  return RunBuild(run, &error_, [&]() -> Control* {
    Node root;
    QString path;
    return run.Parse(window->GetSkinFile(), &path, &root) ? run.BuildFile(root, path, nullptr, true) : nullptr;
  });
}

}  // namespace zrv::ui
