#pragma once
// What a device model asks of its key assignment editor (the "KeySetControlItem" of its page).
// The editor implements it and is handed to the model once both exist; a model without an editor
// (tests, a command-line front end) simply has none.
//
// Called on the user-interface thread only.

#include <string>
#include <vector>

#include "config/profile_records.h"

namespace zrv::devices {

class KeySetView {
 public:
  virtual ~KeySetView() = default;

  // Shows or hides the whole editor ("keyset_layout").
  virtual void SetEditorVisible(bool visible) = 0;
  // Shows `current` in the editor, `def` being the key's default assignment.
  virtual void ShowKey(const config::KeyHalf& current, const config::KeyHalf& def) = 0;
  // Replaces the editor's macro list with `names`, in macro order.
  virtual void FillMacroNames(const std::vector<std::string>& names) = 0;
};

}  // namespace zrv::devices
