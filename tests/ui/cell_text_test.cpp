// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cell_text.h"

#include <gtest/gtest.h>

#include "test_application.h"

namespace lt {
namespace {

TEST(CellText, ValidUtf8IsShownAsUtf8OtherBytesAsWindows1252)
{
    EXPECT_EQ(DecodeBytes("plain"), QStringLiteral("plain"));
    EXPECT_EQ(DecodeBytes("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));
    // A lone 0xE9 is "é" in Windows-1252; 0x80 is the euro sign, 0x9F "Ÿ".
    EXPECT_EQ(DecodeBytes("caf\xE9"), QString(QStringLiteral("caf") + QChar(0xE9)));
    EXPECT_EQ(DecodeBytes("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(DecodeBytes("\x9F"), QString(QChar(0x178)));
    // Overlong forms, surrogates and cut sequences are not UTF-8.
    EXPECT_EQ(DecodeBytes("\xC0\xAF"), QString(QChar(0xC0)) + QChar(0xAF));
    EXPECT_EQ(DecodeBytes("\xED\xA0\x80"), QString(QChar(0xED)) + QChar(0xA0) + QChar(0x20AC));
    EXPECT_EQ(DecodeBytes("ab\xC3"), QString(QStringLiteral("ab") + QChar(0xC3)));
    const std::string nul("a\0b", 3);
    EXPECT_EQ(DecodeBytes(nul).size(), 3);
}

TEST(CellText, TypedTextBecomesWindows1252WhenItCan)
{
    EXPECT_EQ(EncodeText(QString(QStringLiteral("caf") + QChar(0xE9))), std::string("caf\xE9"));
    EXPECT_EQ(EncodeText(QString(QChar(0x20AC))), std::string("\x80"));
    // A character outside the code page keeps the whole text as UTF-8.
    const QString greek = QStringLiteral("a") + QChar(0x3B1) + QChar(0xE9);
    EXPECT_EQ(EncodeText(greek), std::string("a\xCE\xB1\xC3\xA9"));
    EXPECT_EQ(DecodeBytes(EncodeText(greek)), greek);
}

} // namespace
} // namespace lt
