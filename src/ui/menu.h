#pragma once
// Menus from XML files of the skin (<Menu><MenuElement name= text= .../><Separator/></Menu>).
// The chosen item reaches the window's OnMenuCommand.

#include <QMenu>
#include <QPointer>
#include <QString>

#include "ui/skin_error.h"

namespace zrv::ui {

class WindowBase;

// Alignment flags: which side of the menu touches the point.
enum MenuAlign { kMenuAlignLeft = 2, kMenuAlignTop = 4, kMenuAlignRight = 8, kMenuAlignBottom = 16 };

class Menu {
 public:
  Menu() = default;
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  // Builds the menu of `file` (res.xml identifier or skin path) for `window`. False with Error().
  bool Load(const QString& file, WindowBase* window);
  // Opens it at `globalPos` with the alignment flags (non-blocking). Load first.
  void Show(const QPoint& globalPos, int align = kMenuAlignLeft | kMenuAlignTop);
  // Convenience: Load + Show.
  bool Init(const QString& file, WindowBase* window, const QPoint& globalPos,
            int align = kMenuAlignLeft | kMenuAlignTop);
  void Close();
  bool IsOpen() const;
  QMenu* GetMenu() const { return menu_; }
  const SkinError& Error() const { return error_; }

  // The position where a menu of `size` opens for the point and flags.
  static QPoint AlignedPosition(const QPoint& point, const QSize& size, int align);

 private:
  QPointer<QMenu> menu_;
  QPointer<WindowBase> window_;
  SkinError error_;
};

}  // namespace zrv::ui
