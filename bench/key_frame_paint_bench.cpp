// One lighting frame of the full keyboard: 126 key buttons on the selection panel, laid out as the
// keyboard picture lays them out, each given a new colour and then painted at zoom 1.5 on the
// offscreen platform. Target: under 2 ms a frame with every colour new.
//
// Cases: the window's zoom of 1.5 (sizes scaled by the layout, as on a large monitor), the same
// picture at zoom 1.0 on a device pixel ratio of 1.5 (a desktop's fractional scaling), and a cycle
// of frames seen before (a breathing effect), which the layer cache serves without tinting.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <memory>
#include <vector>

#include "controls/device_key_button.h"
#include "controls/key_layer_cache.h"
#include "controls/select_panel.h"
#include "ui/control_factory.h"
#include "ui/resources.h"
#include "ui/window.h"

namespace {

using zrv::controls::CDeviceKeyButtonUI;
using zrv::controls::KeyLayerCache;

constexpr int kKeys = 126;  // six rows of 21, as on the keyboard's picture

class PictureWindow : public zrv::ui::WindowBase {
 public:
  explicit PictureWindow(QString layout) : layout_(std::move(layout)) {}
  QString GetSkinFile() const override { return layout_; }
  QString GetWindowClassName() const override { return QStringLiteral("KeyFrameBench"); }

 private:
  QString layout_;
};

struct Picture {
  std::unique_ptr<PictureWindow> window;
  std::vector<CDeviceKeyButtonUI*> keys;
  QImage target;
};

// The keyboard picture in a window of its own at `zoom`, painted into an image of `dpr`.
std::unique_ptr<Picture> MakePicture(double zoom, double dpr) {
  static QTemporaryDir dir;
  zrv::ui::Resources::Instance().SetResourcePath(QStringLiteral(ZRV31_SOURCE_DIR "/skin"));
  zrv::ui::RegistControl<zrv::controls::CSelectPanelUI>(QStringLiteral("CSelectPanelUI"));
  zrv::ui::RegistControl<CDeviceKeyButtonUI>(QStringLiteral("CDeviceKeyButtonUI"));
  QString xml = QStringLiteral("<Window size=\"800,210\"><SelectPanel name=\"panel\" bkcolor=\"#FF15181E\">");
  for (int i = 0; i < kKeys; ++i) {
    const int x = 43 + (i % 21) * 34, y = 12 + (i / 21) * 32;
    xml += QStringLiteral(
               "<DeviceKeyButton name=\"key_%1\" float=\"true\" pos=\"%2,%3,%4,%5\" "
               "lightimage=\"common/device/key_light.svg\" bkcolor=\"#FF1E222A\" borderround=\"4,4\"/>")
               .arg(i)
               .arg(x)
               .arg(y)
               .arg(x + 30)
               .arg(y + 26);
  }
  xml += QStringLiteral("</SelectPanel></Window>");
  const QString file = dir.filePath(QStringLiteral("picture.xml"));
  QFile out(file);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return nullptr;
  out.write(xml.toUtf8());
  out.close();

  auto p = std::make_unique<Picture>();
  p->window = std::make_unique<PictureWindow>(file);
  if (!p->window->Create(nullptr, QStringLiteral("bench"))) return nullptr;
  p->window->SetZoom(zoom);
  p->window->show();
  QCoreApplication::processEvents();
  for (int i = 0; i < kKeys; ++i) {
    p->keys.push_back(p->window->FindControl<CDeviceKeyButtonUI>(QStringLiteral("key_%1").arg(i)));
    if (p->keys.back() == nullptr) return nullptr;
  }
  p->target = QImage((QSizeF(p->window->size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
  p->target.setDevicePixelRatio(dpr);
  return p;
}

// A frame as the page paints it: new lights, a repaint of the changed keys, the paint.
void PaintFrame(Picture& p, quint32 frame) {
  for (int i = 0; i < kKeys; ++i) {
    p.keys[i]->SetLight((frame * 0x010305u + static_cast<quint32>(i) * 0x0A0B0Cu) & 0xFFFFFFu, 200, true);
    p.keys[i]->RedrawLight();
  }
  p.window->render(&p.target);
  benchmark::DoNotOptimize(p.target.constBits());
}

void RunNewColours(benchmark::State& state, double zoom, double dpr) {
  const std::unique_ptr<Picture> p = MakePicture(zoom, dpr);
  if (!p) {
    state.SkipWithError("the picture cannot be built");
    return;
  }
  static quint32 frame = 0;
  const qint64 renders = KeyLayerCache::Instance().TintRenders();
  for (auto _ : state) PaintFrame(*p, ++frame);
  state.counters["layers_per_frame"] =
      static_cast<double>(KeyLayerCache::Instance().TintRenders() - renders) / static_cast<double>(state.iterations());
}

void BM_FrameNewColoursZoom(benchmark::State& state) { RunNewColours(state, 1.5, 1.0); }
BENCHMARK(BM_FrameNewColoursZoom)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameNewColoursDevicePixelRatio(benchmark::State& state) { RunNewColours(state, 1.0, 1.5); }
BENCHMARK(BM_FrameNewColoursDevicePixelRatio)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameRepeatedColoursZoom(benchmark::State& state) {
  const std::unique_ptr<Picture> p = MakePicture(1.5, 1.0);
  if (!p) {
    state.SkipWithError("the picture cannot be built");
    return;
  }
  constexpr quint32 kCycle = 8;
  for (quint32 i = 0; i < kCycle; ++i) PaintFrame(*p, 1'000'000 + i);  // the cycle, once
  quint32 frame = 0;
  for (auto _ : state) PaintFrame(*p, 1'000'000 + frame++ % kCycle);
}
BENCHMARK(BM_FrameRepeatedColoursZoom)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
