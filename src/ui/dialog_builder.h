#pragma once
// DialogBuilder: builds a control subtree from a layout file of the skin.

#include <QString>

#include "ui/skin_error.h"

namespace zrv::ui {

class Control;
class Container;
class WindowBase;

class DialogBuilder {
 public:
  // Builds the subtree of `layout` (res.xml identifier, skin path with "/" or "\", or an absolute
  // path). `window` supplies the create-control callback, fonts, styles and zoom (may be null);
  // with useCallback false the window's callback is not asked (template subtrees of the window's
  // own callback). `parent`: where the root goes (may be null). Returns the root, or null with
  // Error() set; nothing half-built is left behind.
  Control* Create(const QString& layout, WindowBase* window = nullptr, Container* parent = nullptr,
                  bool useCallback = true);
  // The same from XML text (tests, generated layouts); `origin` names it in errors.
  Control* CreateFromText(const QString& xml, const QString& origin, WindowBase* window = nullptr,
                          Container* parent = nullptr, bool useCallback = true);

  const SkinError& Error() const { return error_; }

  // Builds the window's own layout (GetSkinFile): the Window element's attributes, fonts, styles
  // and defaults go to the window. Used by WindowBase::Create.
  Control* CreateWindowContent(WindowBase* window);

 public:
  struct Node;
  class Run;  // one build (internal)

 private:
  SkinError error_;
};

}  // namespace zrv::ui
