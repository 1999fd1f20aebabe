#pragma once
// Fonts registered for this process only, from the program's Font folder.

#include <QString>

#include <array>
#include <memory>

namespace zrv::app {

class MemoryFont {
 public:
  // The folder the relative names are taken from (the program folder).
  explicit MemoryFont(QString folder);
  // Unregisters the font; harmless when none was registered.
  ~MemoryFont();
  MemoryFont(const MemoryFont&) = delete;
  MemoryFont& operator=(const MemoryFont&) = delete;

  // Reads the whole file and registers its bytes; false (and nothing reported) when the file is
  // missing, unreadable or no font.
  bool Load(const QString& relative_name);
  bool IsLoaded() const { return id_ >= 0; }
  const QString& file() const { return file_; }
  // The families the font provides (empty when not loaded).
  QStringList Families() const;

 private:
  QString folder_;
  QString file_;
  int id_ = -1;
};

// The six private fonts, loaded in table order and released in reverse order when the object
// ends, which the entry point makes the very last thing of every exit path.
class PrivateFonts {
 public:
  static constexpr std::array<const char*, 6> kFiles = {
      "Font/Simplified_Chinese.ttf",    "Font/Vantoral-Regular.otf", "Font/NotoSansThai-Regular.ttf",
      "Font/NotoSansCJKtc-Regular.otf", "Font/Helvetica.ttf",        "Font/Golos-Text_DemiBold.ttf"};

  explicit PrivateFonts(const QString& program_folder);
  ~PrivateFonts();
  PrivateFonts(const PrivateFonts&) = delete;
  PrivateFonts& operator=(const PrivateFonts&) = delete;

  // Loads all six; returns how many loaded.
  int LoadAll();
  // Releases them now, last loaded first (the destructor does it otherwise).
  void Release();
  const MemoryFont& font(std::size_t index) const { return *fonts_[index]; }

 private:
  std::array<std::unique_ptr<MemoryFont>, kFiles.size()> fonts_;
};

}  // namespace zrv::app
