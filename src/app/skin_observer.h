#pragma once
// Skin changes travel from the skin window to the main window through an observer and its
// receivers: the skin window broadcasts, every registered receiver (the main window) applies.

#include <QString>

#include <cstdint>
#include <functional>
#include <map>

namespace zrv::app {

// What a skin change carries: a plain colour, or an image file of the skin (or any file).
struct SkinChangedParam {
  bool is_color = false;
  std::uint32_t color = 0;  // ARGB, when is_color
  QString image;            // when not is_color
};

template <class ReturnT, class ParamT>
class ReceiverImplBase;

template <class ReturnT, class ParamT>
class ObserverImplBase {
 public:
  virtual ~ObserverImplBase() = default;
  virtual void AddReceiver(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
  virtual void RemoveReceiver(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
  virtual ReturnT Broadcast(ParamT param) = 0;
  virtual ReturnT Notify(ParamT param) = 0;
};

template <class ReturnT, class ParamT>
class ReceiverImplBase {
 public:
  virtual ~ReceiverImplBase() = default;
  virtual void AddObserver(ObserverImplBase<ReturnT, ParamT>* observer) = 0;
  virtual void RemoveObserver() = 0;
  virtual ReturnT Receive(ParamT param) = 0;
  virtual ReturnT Respond(ParamT param, ObserverImplBase<ReturnT, ParamT>* observer) = 0;
};

template <class ReturnT, class ParamT>
class ObserverImpl : public ObserverImplBase<ReturnT, ParamT> {
 public:
  using Receiver = ReceiverImplBase<ReturnT, ParamT>;

  void AddReceiver(Receiver* receiver) override {
    if (receiver == nullptr) return;
    receivers_[count_++] = receiver;
    receiver->AddObserver(this);
  }
  void RemoveReceiver(Receiver* receiver) override {
    for (auto it = receivers_.begin(); it != receivers_.end();) {
      it = it->second == receiver ? receivers_.erase(it) : std::next(it);
    }
  }
  // Every receiver, in the order they registered; the last one's answer.
  ReturnT Broadcast(ParamT param) override {
    ReturnT result{};
    const auto receivers = receivers_;  // a receiver may leave while it receives
    for (const auto& [number, receiver] : receivers) result = receiver->Receive(param);
    return result;
  }
  ReturnT Notify(ParamT param) override {
    ReturnT result{};
    const auto receivers = receivers_;
    for (const auto& [number, receiver] : receivers) result = receiver->Respond(param, this);
    return result;
  }
  size_t ReceiverCount() const { return receivers_.size(); }

 private:
  std::map<int, Receiver*> receivers_;
  int count_ = 0;
};

template <class ReturnT, class ParamT>
class ReceiverImpl : public ReceiverImplBase<ReturnT, ParamT> {
 public:
  using Observer = ObserverImplBase<ReturnT, ParamT>;

  // A receiver that goes leaves every observer, so nothing broadcasts to it afterwards.
  ~ReceiverImpl() override { RemoveObserver(); }
  void AddObserver(Observer* observer) override {
    if (observer != nullptr) observers_[count_++] = observer;
  }
  void RemoveObserver() override {
    const auto observers = observers_;
    observers_.clear();
    for (const auto& [number, observer] : observers) observer->RemoveReceiver(this);
  }
  ReturnT Respond(ParamT param, Observer* /*observer*/) override { return this->Receive(param); }

 private:
  std::map<int, Observer*> observers_;
  int count_ = 0;
};

using SkinObserver = ObserverImpl<int, SkinChangedParam>;

// The process-wide skin observer, made on first use (UI thread only).
SkinObserver& SkinChangeObserver();

// A receiver that hands every change to a function.
class SkinReceiver : public ReceiverImpl<int, SkinChangedParam> {
 public:
  explicit SkinReceiver(std::function<void(const SkinChangedParam&)> apply) : apply_(std::move(apply)) {}
  int Receive(SkinChangedParam param) override {
    if (apply_) apply_(param);
    return 0;
  }

 private:
  std::function<void(const SkinChangedParam&)> apply_;
};

// "main.ini" of the per-user data folder, section "SKINIMAGE": the chosen skin image ("FLAGS"
// "1") or the reset to the skin's own ("FLAGS" "0"). Read at start, so the choice outlives a restart.
QString SkinIniFile();
bool WriteSkinChoice(const QString& ini_file, bool chosen, const QString& image);
// The image to show at start: the chosen image, when one is chosen and it still exists.
QString RememberedSkinImage(const QString& ini_file);

// The image the reset goes back to: the skin's own background.
inline constexpr const char* kDefaultSkinImage = "common/background.svg";

}  // namespace zrv::app
