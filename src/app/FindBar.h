#pragma once
// TFindBar: the row under the buttons in which the user finds text in the report ("Znajdź:", the typed
// text, "Następne", "Poprzednie", "Wielkość liter" and what the search came to). It only shows and
// reports; the window searches (MainWindowFind.cpp).
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

class TFindBar : public QWidget {
 public:
  explicit TFindBar(QWidget* parent = nullptr);

  QLineEdit* Edit;
  QPushButton* NextButton;
  QPushButton* PreviousButton;
  QCheckBox* MatchCase;
  QLabel* Status;

  // The typed text or the case choice changed; a button asked for the next (+1) or previous (-1) match.
  std::function<void()> OnChanged;
  std::function<void(int direction)> OnStep;
};
