// The portable toolkit classes whose exact behaviour the programs rely on.
#include "toolkit/exceptions.h"
#include "toolkit/format.h"
#include "toolkit/list.h"
#include "toolkit/streams.h"
#include "toolkit/strings.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::vector<std::string> Items(const TStrings& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

TEST(CommaText, SplitsAtCommasAndBlanksOutsideQuotes)
{
    TStringList list;
    list.SetCommaText("\"a b\",c d");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a b", "c", "d"}));

    list.SetCommaText("  x,,\"say \"\"hi\"\"\" , \"unterminated");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"x", "", "say \"hi\"", "unterminated"}));
}

TEST(CommaText, QuotesWhatNeedsIt)
{
    TStringList list;
    list.Add("plain");
    list.Add("two words");
    list.Add("a,b");
    list.Add("q\"q");
    list.Add("");
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"a,b\",\"q\"\"q\",");

    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Items(back), (std::vector<std::string>{"plain", "two words", "a,b", "q\"q"}));

    TStringList single;
    single.Add("");
    EXPECT_EQ(single.CommaText(), "\"\"");
}

TEST(StringList, SortedFindIsCaseInsensitiveAndHonoursDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("delta");
    list.Add("Alpha");
    list.Add("charlie");
    EXPECT_EQ(list.Add("ALPHA"), 0); // ignored duplicate
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Alpha", "charlie", "delta"}));
    EXPECT_EQ(list.IndexOf("CHARLIE"), 1);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    list.Duplicates = dupError;
    EXPECT_THROW(list.Add("delta"), EStringListError);
}

TEST(StringList, TextAndValues)
{
    TStringList list;
    list.SetText("a=1\r\nb=2\nc\r");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a=1", "b=2", "c"}));
    EXPECT_EQ(list.Value("B"), "2");
    list.SetValue("a", "");
    EXPECT_EQ(list.Text(), "b=2\r\nc\r\n");
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.BeginUpdate();
    list.Add("x");
    list.Add("y");
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
}

TEST(List, IndexErrorsAndGrowth)
{
    TList list;
    int a = 1, b = 2;
    EXPECT_THROW(list.Get(0), EListError);
    std::vector<int> capacities;
    for (int i = 0; i < 70; ++i) {
        list.Add(&a);
        if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76}));
    list.Insert(0, &b);
    EXPECT_EQ(list.IndexOf(&b), 0);
    list.Move(0, 70);
    EXPECT_EQ(list.Last(), &b);
    EXPECT_EQ(list.Remove(&b), 70);
    EXPECT_EQ(list.Remove(&b), -1);
    try {
        list.Delete(99);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (99)");
    }
}

TEST(Persistent, CannotAssignRaisesConvertErrorNamingBothClasses)
{
    TStringList strings;
    TList list;
    try {
        strings.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a nil to a TStringList");
    }
    TStringList source;
    source.Add("one");
    strings.Assign(&source);
    EXPECT_EQ(strings.Text(), "one\r\n");
}

TEST(Streams, MemoryStreamReadsWritesAndSeeks)
{
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    s.SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 4);
    EXPECT_STREQ(buf, "cdef");
    s.Seek(-1, soEnd);
    EXPECT_THROW(s.ReadBuffer(buf, 2), EReadError);
    s.SetPosition(10); // writing past the end fills the gap
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.Size(), 11);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
}

TEST(Streams, FileStreamRoundTripAndOpenErrors)
{
    std::string path = testing::TempDir() + "toolkit_stream.bin";
    {
        TFileStream out(path, fmCreate);
        out.WriteBuffer("hello", 5);
    }
    {
        TFileStream in(path, fmOpenReadWrite);
        EXPECT_EQ(in.Size(), 5);
        in.Seek(1, soBeginning);
        char c;
        in.ReadBuffer(&c, 1);
        EXPECT_EQ(c, 'e');
        in.WriteBuffer("L", 1);
        TMemoryStream copy;
        copy.CopyFrom(&in, 0);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(copy.Memory()), 5), "heLlo");
    }
    std::remove(path.c_str());
    try {
        TFileStream missing(path, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos);
    }
}

TEST(Format, FormatsLongTextsAndStrictIntegers)
{
    std::string big(1000, 'x');
    EXPECT_EQ(Format("%s-%d", big.c_str(), 7), big + "-7");
    EXPECT_EQ(Format("%02X-%02X", 0x0A, 0xFF), "0A-FF");

    int32_t v = 5;
    EXPECT_TRUE(TryStrToInt("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    for (const char* bad : {"", "-", "12abc", " 1", "0x10", "2147483648", "1.0"})
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
    EXPECT_EQ(StrToIntDef("nine", 9), 9);
    EXPECT_EQ(ExtractFilePath("C:\\a\\b.exe"), "C:\\a\\");
    EXPECT_EQ(ExtractFileName("C:\\a\\b.exe"), "b.exe");
}

} // namespace
