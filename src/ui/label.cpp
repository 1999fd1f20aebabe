#include "ui/label.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace zrv::ui {

Label::Label(QWidget* parent) : ControlWidget<QLabel>(parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(GetTextAlign());
}

void Label::SetEndEllipsis(bool on) {
  end_ellipsis_ = on;
  UpdateShownText();
}

void Label::SetAttribute(const QString& name, const QString& value) {
  if (name == u"endellipsis") {
    SetEndEllipsis(AttrBool(name, value));
  } else if (name == u"showhtml") {
    setTextFormat(AttrBool(name, value) ? Qt::RichText : Qt::PlainText);
  } else if (name == u"multiline" || name == u"wordwrap") {
    setWordWrap(AttrBool(name, value));
  } else {
    ControlWidget<QLabel>::SetAttribute(name, value);
  }
}

void Label::UpdateShownText() {
  setAlignment(GetTextAlign());
  const QMargins p = GetTextPadding();
  setContentsMargins(Scale(p.left()), Scale(p.top()), Scale(p.right()), Scale(p.bottom()));
  QString text = ShownText();
  if (end_ellipsis_ && !wordWrap()) {
    text = fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, contentsRect().width()));
  }
  setText(text);
}

void Label::resizeEvent(QResizeEvent* event) {
  ControlWidget<QLabel>::resizeEvent(event);
  if (end_ellipsis_) UpdateShownText();
}

Text::Text(QWidget* parent) : Label(parent) {
  setWordWrap(true);
  SetTextAlign(Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace zrv::ui
