// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/char_tables.h"

#include "core/cp1252.h"

namespace lt {

namespace {

constexpr uint8_t kItemHighBytes[] = {0xA1, 0xA2, 0xA3, 0xA5, 0xA6, 0xAB, 0xB0, 0xBB, 0xBC, 0xBD, 0xBF};
constexpr char kLeadTrimmed[] = " !#$%&'*,-./:;>?@\\])^_`|}~+=";

} // namespace

void CharTables::Build(bool urlLike)
{
    printableUrlChars.fill(0);
    itemChars.fill(0);
    alnumChars.fill(0);
    emailChars.fill(0);
    sentencePunct.fill(0);

    for (int c = 33; c <= 126; ++c) {
        if (c != '"' && c != '<' && c != '>' && c != '(' && c != ')')
            printableUrlChars[c] = 1;
        if (c != '"')
            itemChars[c] = 1;
    }
    for (uint8_t c : kItemHighBytes)
        itemChars[c] = 1;
    for (int c = 0xC0; c <= 0xFE; ++c)
        if (c != 0xD8 && c != 0xF8)
            itemChars[c] = 1;
    SetUrlLike(urlLike);

    for (int c = 0; c < 256; ++c)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '&')
            alnumChars[c] = 1;
    emailChars = alnumChars;
    for (uint8_t c : {'@', '-', ',', '.', '\'', '+', '$', '%', '_', '"'})
        emailChars[c] = 1;

    for (int c = 0; c < 256; ++c) {
        leadTrimMap[c] = static_cast<uint8_t>(c);
        caseFoldMap[c] = Cp1252Lower(static_cast<uint8_t>(c));
        ascii7Map[c] = c < 128 ? static_cast<uint8_t>(c) : 0;
    }
    leadTrimMap[0xA0] = 0;
    leadTrimMap[0xA7] = 0;
    for (const char* p = kLeadTrimmed; *p; ++p)
        leadTrimMap[static_cast<uint8_t>(*p)] = 0;

    tailTrimMap = leadTrimMap;
    for (uint8_t c : {'?', '=', '+', '>', ']', '}', ')'})
        tailTrimMap[c] = c;
    for (uint8_t c : {'<', '[', '{', '('})
        tailTrimMap[c] = 0;

    for (uint8_t c : {'!', ',', '.', ';', '?', ':'})
        sentencePunct[c] = 1;

    for (int i = 0; i <= 260; ++i)
        repeatLimit[i] = static_cast<uint16_t>(i < 26 ? i / 3 + 1 : i / 3);
}

void CharTables::SetUrlLike(bool urlLike)
{
    // "Url like" items end at a blank and at a double quote.
    const uint8_t member = urlLike ? 0 : 1;
    itemChars[' '] = member;
    itemChars['"'] = member;
}

} // namespace lt
