#include "editor/MemoryTextModel.h"

#include "editor/TextModelConformance.h"

namespace {

struct MemoryModelFactory {
    using Model = MemoryTextModel;
    static std::unique_ptr<Model> make() { return std::make_unique<Model>(); }
    static void scrollTo(Model& model, int line) { model.setFirstVisibleLine(line); }
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TextModelConformance, ::testing::Types<MemoryModelFactory>);

TEST(MemoryTextModel, WithLineBreaksTurnsEveryBreakIntoTheGivenOne)
{
    EXPECT_EQ(WithLineBreaks(QStringLiteral("a\r\nb\rc\nd\n\re\r\r\n"), u"\n"),
              QStringLiteral("a\nb\nc\nd\n\ne\n\n"));
    EXPECT_EQ(WithLineBreaks(QStringLiteral("\r"), u"\r\n"), QStringLiteral("\r\n"));
    EXPECT_EQ(WithLineBreaks(QStringLiteral("no breaks"), u"\r\n"), QStringLiteral("no breaks"));
    EXPECT_EQ(WithLineBreaks(QString(), u"\r\n"), QString());
}

TEST(MemoryTextModel, FirstVisibleLineStaysWithinTheText)
{
    MemoryTextModel m(QStringLiteral("a\r\nb\r\nc"));
    m.setFirstVisibleLine(2);
    EXPECT_EQ(m.firstVisibleLine(), 2);
    m.setFirstVisibleLine(50);
    EXPECT_EQ(m.firstVisibleLine(), 2);
    m.setFirstVisibleLine(-3);
    EXPECT_EQ(m.firstVisibleLine(), 0);

    // Deleting lines below the top line pulls it back.
    m.setFirstVisibleLine(2);
    m.setSelStart(1);
    m.setSelLength(100);
    m.setSelText(QString());
    EXPECT_EQ(m.text(), QStringLiteral("a"));
    EXPECT_EQ(m.firstVisibleLine(), 0);
}
