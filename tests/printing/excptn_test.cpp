// Error texts with host codes and the exception classes that carry them.
#include <gtest/gtest.h>

#include "platform/gdi/DeviceContext.h"
#include "printing/Excptn.h"

TEST(LastErrorText, SystemTextThenTheCodeInHexadecimal) {
  SetLastError(0);
  struct Case {
    uint32_t Code;
    const char* Text;
  } cases[] = {
      {2, "No such file or directory (LE: $2)"},
      {28, "No space left on device (LE: $1C)"},
      {0xFFFFFFFE, " (LE: $FFFFFFFE)"}, // a negative code: eight digits, no system text
      {99999, " (LE: $1869F)"},         // unknown to the system
  };
  for (const auto& c : cases)
    EXPECT_EQ(LastErrorText(c.Code), c.Text) << c.Code;
}

// The graphics layer's message for the thread's last error is that code's text: trailing line breaks
// go, the full stop stays, inserts read "<>", and at most 255 characters are kept.
TEST(LastErrorText, GraphicsLayerMessage) {
  SetLastErrorMessage(13, "Record %1 of %2 is damaged.\r\n");
  EXPECT_EQ(LastErrorText(13), "Record <> of <> is damaged. (LE: $D)");
  SetLastErrorMessage(13, std::string(300, 'x'));
  EXPECT_EQ(LastErrorText(13), std::string(255, 'x') + " (LE: $D)");
  SetLastError(0);
}

TEST(RuntimeErrors, ConstructorsSetCodeAndMessage) {
  EXPECT_EQ(ERuntimeError("plain").LastError(), 1u);

  SetLastError(0);
  ERuntimeError none = ERuntimeError::CreateMLE("M");
  EXPECT_EQ(none.Message(), "M");
  EXPECT_EQ(none.LastError(), 0u);
  EXPECT_EQ(ERuntimeError::CreateMLE(0, "M").Message(), "M: Success (LE: $0)");
  EXPECT_EQ(ERuntimeError::CreateLE(2).Message(), "No such file or directory (LE: $2)");

  SetLastErrorMessage(6, "Handle 9 is not in the table");
  EXPECT_EQ(ERuntimeError::CreateLE().LastError(), 6u);
  EXPECT_EQ(EGDIError::CreateLE().Message(), "GDI: Handle 9 is not in the table (LE: $6)");
  EXPECT_EQ(EGDIError::CreateMLE("").Message(), " GDI: Handle 9 is not in the table (LE: $6)");
  try {
    GDICheck(false, "Print");
    FAIL();
  } catch (const EWinAPIError& e) { // EGDIError is one
    EXPECT_EQ(e.Message(), "Print GDI: Handle 9 is not in the table (LE: $6)");
    EXPECT_EQ(e.LastError(), 6u);
  }
  SetLastError(0);
  GDICheck(true, "never");
  EXPECT_EQ(EGDIError::CreateMLE("").Message(), " GDI");
}
