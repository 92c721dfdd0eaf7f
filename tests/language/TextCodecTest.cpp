#include "language/TextCodec.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <numeric>

namespace {

// Every lead byte before every second byte, then the edges of the continuation
// range, cut at every length: each boundary of the table of well-formed
// sequences (overlong forms, surrogates, beyond U+10FFFF, cut short), judged
// as Qt's own strict check judges it.
TEST(TextCodec, Utf8ValidityAgreesWithAStrictCheckAtEveryBoundary)
{
    const char edges[] = {'\x7F', '\x80', '\xBF', '\xC0'};
    for (int n = 0; n < 0x80 * 0x100 * 4 * 4; ++n) {
        const char bytes[] = {char(0x80 + n / 0x1000), char(n / 16 % 0x100), edges[n / 4 % 4], edges[n % 4]};
        for (const qsizetype size : {1, 2, 3, 4})
            ASSERT_EQ(textcodec::isValidUtf8({bytes, size}), QByteArrayView(bytes, size).isValidUtf8())
                << QByteArray(bytes, size).toHex().constData();
    }
}

// Every byte decodes as the code page's table says (ICU's, through Qt: the
// five bytes the code page leaves undefined keep their own code points) and
// encodes back to itself.
TEST(TextCodec, Windows1252KeepsEveryByteAndRefusesWhatItCannotCarry)
{
    QByteArray all(256, Qt::Uninitialized);
    std::iota(all.begin(), all.end(), char(0));
    QStringDecoder codePage("windows-1252");
    EXPECT_EQ(textcodec::fromWindows1252(all), QString(codePage(all)));
    EXPECT_EQ(textcodec::toWindows1252(textcodec::fromWindows1252(all)), all);
    EXPECT_FALSE(textcodec::toWindows1252(u"\u65E5"));
    EXPECT_FALSE(textcodec::toWindows1252(u"\u0080"));
}

} // namespace
