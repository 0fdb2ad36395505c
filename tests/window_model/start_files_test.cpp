// The files the window is started with: one is the input, several wait for
// Convert Several Files, and nothing runs until the user asks.
#include <gtest/gtest.h>

#include <filesystem>

#include "window_model/model_fixture.h"

namespace pellimar::testing {
namespace {

// Whatever its name, the one file is the input; the output is named after
// it, and the output dialog starts on it. Nothing is asked.
TEST(StartFiles, OneFileIsTheInputAndNamesTheOutput)
{
    TempDir books;
    const std::string input = books.File("levels.def");
    ModelFixture f({}, {input});
    f.model.FirstShown();
    f.model.TakeStartFiles();
    EXPECT_EQ(f.view.BoxText(HistoryBox::InputFile), input);
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), books.File("levels-ref.def"));
    EXPECT_EQ(f.model.SaveDialog().fileName, input);
    EXPECT_EQ(f.LevelTexts(), Names(kLevelCount));
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.Type(HistoryBox::RefPattern, "1");
    EXPECT_TRUE(f.view.beginEnabled);
}

// Several files are named in a message and wait: Convert Several Files
// takes them in place of its file dialog until a run goes ahead with them;
// only its folder dialog, then the run, follow.
TEST(StartFiles, SeveralWaitForConvertSeveralFiles)
{
    TempDir books;
    const Names inputs = {books.File("a.fff"), books.File("b.fff")};
    for (const std::string& input : inputs)
        WriteFileBytes(input, "<RD:Book>T\r\n<RD>x\r\n");
    ModelFixture f({}, inputs);
    f.model.FirstShown();
    f.model.TakeStartFiles();
    f.model.TakeStartFiles();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(f.dialogs.messages[0].text,
              "2 files are chosen to be converted together.\rNothing is converted yet: fill in the level names and "
              "the patterns, then choose File > Convert Several Files..., which asks for the output folder.");
    EXPECT_EQ(f.dialogs.messages[0].note, inputs[0] + "\r" + inputs[1]);
    EXPECT_TRUE(f.view.BoxText(HistoryBox::InputFile).empty());
    EXPECT_TRUE(f.dialogs.folderDialogs.empty());

    f.model.Carry(Command::ConvertSeveral);  // no pattern yet
    f.Type(HistoryBox::Level1, "Book");
    f.Type(HistoryBox::RefPattern, "1");
    f.model.Carry(Command::ConvertSeveral);  // the folder dialog cancelled
    std::filesystem::create_directory(f.dir.File("out"));
    f.dialogs.folderAnswers.push_back(f.dir.File("out"));
    f.model.Carry(Command::ConvertSeveral);
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
    EXPECT_EQ(f.dialogs.folderDialogs.size(), 2u);
    ASSERT_EQ(f.dialogs.lists.size(), 1u);
    EXPECT_TRUE(f.dialogs.lists[0].heading.starts_with("2 files, 2 total references created.")) << f.dialogs.lists[0].heading;
    EXPECT_NE(ReadFileBytes(f.dir.File("out/b.fff")).find("<CS:Reference>T"), std::string::npos);

    f.model.Carry(Command::ConvertSeveral);
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 1u);
}

}  // namespace
}  // namespace pellimar::testing
