#pragma once
// Shared pieces of the UI tests: the test skin and a window that records what reaches it.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "ui/resources.h"
#include "ui/window.h"

namespace zrv::ui::testing {

inline QString SkinDir() { return QStringLiteral(ZRV31_SOURCE_DIR "/tests/ui/data/skin"); }

// Points the resource manager at the test skin.
inline void UseTestSkin() {
  Resources::Instance().SetResourcePath(SkinDir());
  Resources::Instance().LoadResourceIndex();
}

struct Record {
  QString type;
  QString sender;
  qint64 wParam = 0;
  qint64 lParam = 0;
};

class RecordingWindow : public WindowBase {
 public:
  explicit RecordingWindow(QString skin = QStringLiteral("XML_NOTIFY")) : skin_(std::move(skin)) {}

  QString GetSkinFile() const override { return skin_; }
  QString GetWindowClassName() const override { return QStringLiteral("RecordingWnd"); }
  void OnNotify(Notify& msg) override {
    records.push_back({msg.type, msg.SenderName(), msg.wParam, msg.lParam});
    if (onNotify) onNotify(msg);
  }
  Control* CreateControl(const QString& className) override {
    return createControl ? createControl(className) : nullptr;
  }
  void OnMenuCommand(const MenuCommand& command) override { menuCommands.push_back(command); }
  bool OnCustomMessage(int message, qint64 wParam, qint64 lParam) override {
    customMessages.push_back({QString::number(message), QString(), wParam, lParam});
    return message == 1054;
  }

  // "type:sender" of every record, optionally without timer/windowsize noise.
  QStringList Log(bool withLayoutNoise = false) const {
    QStringList out;
    for (const Record& r : records) {
      if (!withLayoutNoise && (r.type == u"windowsize" || r.type == u"timer" || r.type == u"windowinit")) continue;
      out.append(r.type + u':' + r.sender);
    }
    return out;
  }
  int Count(const QString& type) const {
    int n = 0;
    for (const Record& r : records) n += r.type == type ? 1 : 0;
    return n;
  }
  const Record* Last(const QString& type) const {
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
      if (it->type == type) return &*it;
    }
    return nullptr;
  }

  std::vector<Record> records;
  std::vector<MenuCommand> menuCommands;
  std::vector<Record> customMessages;
  std::function<Control*(const QString&)> createControl;
  std::function<void(Notify&)> onNotify;

 private:
  QString skin_;
};

}  // namespace zrv::ui::testing
