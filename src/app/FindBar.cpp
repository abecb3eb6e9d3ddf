#include "FindBar.h"

#include <QHBoxLayout>

TFindBar::TFindBar(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(6);
  auto* label = new QLabel(QStringLiteral("Znajdź:"), this);
  Edit = new QLineEdit(this);
  Edit->setMinimumWidth(200);
  label->setBuddy(Edit);
  NextButton = new QPushButton(QStringLiteral("Następne"), this);
  PreviousButton = new QPushButton(QStringLiteral("Poprzednie"), this);
  MatchCase = new QCheckBox(QStringLiteral("Wielkość liter"), this);
  Status = new QLabel(this);
  for (QWidget* w : {static_cast<QWidget*>(NextButton), static_cast<QWidget*>(PreviousButton),
                     static_cast<QWidget*>(MatchCase)})
    w->setFocusPolicy(Qt::NoFocus); // the keys stay with the typed text
  layout->addWidget(label);
  layout->addWidget(Edit);
  layout->addWidget(NextButton);
  layout->addWidget(PreviousButton);
  layout->addWidget(MatchCase);
  layout->addWidget(Status, 1);

  QObject::connect(Edit, &QLineEdit::textChanged, this, [this] {
    if (OnChanged) OnChanged();
  });
  QObject::connect(MatchCase, &QCheckBox::toggled, this, [this] {
    if (OnChanged) OnChanged();
  });
  QObject::connect(NextButton, &QPushButton::clicked, this, [this] {
    if (OnStep) OnStep(+1);
  });
  QObject::connect(PreviousButton, &QPushButton::clicked, this, [this] {
    if (OnStep) OnStep(-1);
  });
}
