#include "widgets/controls.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>

namespace tabulon {

RadioGroup::RadioGroup(std::initializer_list<QRadioButton*> buttons, QObject* parent)
    : QObject(parent), buttons_(buttons) {
  for (QRadioButton* b : buttons_) {
    b->installEventFilter(this);
    connect(b, &QAbstractButton::toggled, this, &RadioGroup::Update);
  }
  Update();
}

void RadioGroup::Update() {
  const auto usable = [](const QRadioButton* b) { return b->isEnabled(); };
  auto stop = std::find_if(buttons_.begin(), buttons_.end(),
                           [&](const QRadioButton* b) { return usable(b) && b->isChecked(); });
  if (stop == buttons_.end()) stop = std::find_if(buttons_.begin(), buttons_.end(), usable);
  for (auto b = buttons_.begin(); b != buttons_.end(); ++b) {
    (*b)->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::EnabledChange) Update();
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  int step = 0;
  if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Right) step = 1;
  if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Left) step = -1;
  const auto at = std::find(buttons_.begin(), buttons_.end(), watched);
  if (step == 0 || at == buttons_.end()) return false;
  const int n = static_cast<int>(buttons_.size());
  int i = static_cast<int>(at - buttons_.begin());
  for (int tries = 1; tries < n; ++tries) {
    i = (i + step + n) % n;
    if (QRadioButton* next = buttons_[i]; next->isEnabled()) {
      next->setFocus(Qt::TabFocusReason);
      next->click();  // checks it and reports the choice as a click does
      break;
    }
  }
  return true;
}

bool InstallToolkitTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace tabulon
