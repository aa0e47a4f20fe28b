// Real words of sixteen languages, stored as UTF-16 and as 8-bit text in each language's Windows
// code page, come back exactly. The words are ICU's own names of the countries and languages of
// the world in each language (the Unicode CLDR's translations, which ship with the ICU library
// the program reads text with): short values (1-4 CJK characters, 2-8 letters, ALL CAPS,
// Capitalised) become folder names, senders and subjects, whole names become mailbox names and
// bodies.
#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "edb_writer/entry_id.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"

namespace velmor {
namespace {

using test::RunCli;
using testdb::TextEncoding;

struct Language {
    const char* locale;
    int codePage;
};

// Test names and failures show the language and its page, not the struct's bytes.
void PrintTo(const Language& language, std::ostream* out) {
    *out << language.locale << " " << language.codePage;
}

constexpr Language kLanguages[] = {
    {"de", 1252}, {"fr", 1252}, {"pl", 1250}, {"cs", 1250}, {"hu", 1250},    {"ru", 1251},
    {"el", 1253}, {"tr", 1254}, {"he", 1255}, {"ar", 1256}, {"lt", 1257},    {"vi", 1258},
    {"th", 874},  {"ja", 932},  {"zh", 936},  {"ko", 949},  {"zh_Hant", 950}};

constexpr size_t kShortValues = 200;
constexpr size_t kBodies = 8;
constexpr int32_t kShortestWord = 2;
constexpr int32_t kLongestWord = 8;
constexpr int32_t kLongestCjkValue = 4;
constexpr int32_t kShortestCjkPhrase = 6;
// The detection may miss a value in a thousand; the code page the user chose, none.
constexpr double kLeastDetectedRate = 0.995;

std::string Utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

// ICU's names of every country and language, in the language.
std::vector<icu::UnicodeString> Names(const icu::Locale& language) {
    std::vector<icu::UnicodeString> names;
    for (const char* const* country = icu::Locale::getISOCountries(); *country; ++country) {
        icu::UnicodeString name;
        names.push_back(icu::Locale("", *country).getDisplayCountry(language, name));
    }
    for (const char* const* code = icu::Locale::getISOLanguages(); *code; ++code) {
        icu::UnicodeString name;
        icu::Locale(*code).getDisplayLanguage(language, name);
        // A language ICU has no name for keeps its code.
        if (name != icu::UnicodeString(*code)) {
            names.push_back(name);
        }
    }
    return names;
}

bool IsCjk(const icu::UnicodeString& text) {
    const UChar32 first = text.char32At(0);
    const UScriptCode script = [&] {
        UErrorCode error = U_ZERO_ERROR;
        return uscript_getScript(first, &error);
    }();
    return script == USCRIPT_HAN || script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA ||
           script == USCRIPT_HANGUL;
}

// The words of a name: runs of letters and marks.
std::vector<icu::UnicodeString> Words(const icu::UnicodeString& name) {
    std::vector<icu::UnicodeString> words;
    icu::UnicodeString word;
    for (int32_t i = 0; i < name.length(); i = name.moveIndex32(i, 1)) {
        const UChar32 c = name.char32At(i);
        if (u_isalpha(c) || (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0) {
            word.append(c);
        } else if (!word.isEmpty()) {
            words.push_back(word);
            word.remove();
        }
    }
    if (!word.isEmpty()) {
        words.push_back(word);
    }
    return words;
}

// The short forms of a word: CJK words cut to 1-4 characters; others of 2-8 letters as written,
// in capitals and capitalised.
void AddShortValues(const icu::UnicodeString& word, const icu::Locale& language,
                    std::vector<icu::UnicodeString>& values) {
    const int32_t letters = word.countChar32();
    if (IsCjk(word)) {
        for (int32_t n = 1; n <= std::min(letters, kLongestCjkValue); ++n) {
            values.emplace_back(word, 0, word.moveIndex32(0, n));
        }
        return;
    }
    if (letters < kShortestWord || letters > kLongestWord) {
        return;
    }
    values.push_back(word);
    icu::UnicodeString capitals = word;
    values.push_back(capitals.toUpper(language));
    icu::UnicodeString capitalised = word;
    capitalised.toLower(language);
    const int32_t second = capitalised.moveIndex32(0, 1);
    icu::UnicodeString first(capitalised, 0, second);
    values.push_back(first.toUpper(language) + icu::UnicodeString(capitalised, second));
}

// Text the code page holds whole: the writer stores a character the page lacks as '?'.
bool Encodable(const std::string& text, int codePage) {
    const auto bytes = testdb::EncodeText(text, testdb::EightBitText(codePage));
    return std::count(bytes.begin(), bytes.end(), '?') == std::count(text.begin(), text.end(), '?');
}

// Every n-th of the texts, up to count of them, so that the choice spreads over the alphabet.
std::vector<std::string> Spread(const std::set<std::string>& texts, size_t count) {
    std::vector<std::string> all(texts.begin(), texts.end());
    if (all.size() <= count) {
        return all;
    }
    std::vector<std::string> chosen;
    for (size_t i = 0; i < count; ++i) {
        chosen.push_back(all[i * all.size() / count]);
    }
    return chosen;
}

struct Corpus {
    std::vector<std::string> shortValues;
    std::vector<std::string> phrases;  // names of more than one word
};

Corpus LanguageCorpus(const Language& language) {
    const icu::Locale locale(language.locale);
    std::set<std::string> shortValues;
    std::set<std::string> phrases;
    for (const icu::UnicodeString& name : Names(locale)) {
        const std::string text = Utf8(name);
        const bool otherScript = std::any_of(
            text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        if (!otherScript || !Encodable(text, language.codePage)) {
            continue;
        }
        // Chinese and Japanese write a name of several words without blanks.
        if (name.indexOf(u' ') > 0 || (IsCjk(name) && name.countChar32() >= kShortestCjkPhrase)) {
            phrases.insert(text);
        }
        std::vector<icu::UnicodeString> values;
        for (const icu::UnicodeString& word : Words(name)) {
            AddShortValues(word, locale, values);
        }
        for (const icu::UnicodeString& value : values) {
            const std::string valueText = Utf8(value);
            if (Encodable(valueText, language.codePage)) {
                shortValues.insert(valueText);
            }
        }
    }
    return {Spread(shortValues, kShortValues), Spread(phrases, kBodies)};
}

struct Tally {
    size_t exact = 0;
    size_t total = 0;
    std::vector<std::string> misses;

    void Count(bool found, const std::string& value) {
        ++total;
        exact += found ? 1 : 0;
        if (!found) {
            misses.push_back(value);
        }
    }
    double Rate() const { return total == 0 ? 1.0 : static_cast<double>(exact) / total; }
};

std::string JsonQuoted(const std::string& text) {
    return "\"" + text + "\"";
}

class RealWordsTest : public testing::TestWithParam<Language> {
protected:
    struct Store {
        std::string file;
        std::string inboxId;
    };

    // One mailbox named by a phrase; below its top folder a folder per short value, and a mail
    // folder whose mails have a short value as sender and the next one as subject; the first
    // mails have a phrase as body.
    Store Write(const Corpus& corpus, TextEncoding encoding, const std::string& name) {
        testdb::StoreBuilder builder;
        testdb::Mailbox mailbox;
        mailbox.name = corpus.phrases.front();
        mailbox.encoding = encoding;
        auto folder = [&](const testdb::EntryId& parent, const std::string& folderName,
                          const char* containerClass) {
            testdb::Folder made = testdb::MakeFolder(parent, folderName, containerClass);
            made.encoding = encoding;
            return builder.AddFolder(made);
        };
        const auto top = folder(builder.AddMailbox(mailbox), "Top", "");
        for (const std::string& value : corpus.shortValues) {
            folder(top, value, "IPF.Note");
        }
        const auto inbox = folder(top, "Inbox", "IPF.Note");
        const auto& values = corpus.shortValues;
        for (size_t i = 0; i < values.size(); ++i) {
            testdb::Item mail;
            mail.sender = values[i];
            mail.subject = values[(i + 1) % values.size()];
            mail.time = testdb::FileTimeFromUtc(2009, 3, 2, 8, 15, 0);
            mail.encoding = encoding;
            if (i < corpus.phrases.size()) {
                mail.content.text = corpus.phrases[i];
            }
            builder.AddItem(inbox, mail);
        }
        const auto file = tmp_ / name;
        builder.WriteTo(file);
        return {file.string(), testdb::HexText(inbox)};
    }

    std::string Cli(const std::vector<std::string>& options, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin() + 1, options.begin(), options.end());
        const auto result = RunCli(arguments, tmp_.path());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    }

    // Reads every value of the store back and counts those that come back exactly; the code
    // page the store was read in goes to detected.
    Tally Read(const Store& store, const Corpus& corpus, const std::vector<std::string>& options,
               int& codePage) {
        Tally tally;
        const std::string mailboxes = Cli(options, {"mailboxes", "--json", store.file});
        tally.Count(
            mailboxes.find(JsonQuoted("Mailbox - " + corpus.phrases.front())) != std::string::npos,
            corpus.phrases.front());
        const size_t codePageAt = mailboxes.find("\"codePage\": ");
        codePage =
            codePageAt == std::string::npos ? 0 : std::atoi(mailboxes.c_str() + codePageAt + 12);

        const std::string folders = Cli(options, {"folders", store.file, "1"});
        for (const std::string& value : corpus.shortValues) {
            tally.Count(folders.find("\\Top\\" + value + "\\\t") != std::string::npos, value);
        }
        const size_t inboxLine = folders.find("\t" + store.inboxId + "\t");
        EXPECT_NE(inboxLine, std::string::npos) << folders;
        if (inboxLine == std::string::npos) {
            return tally;
        }
        const size_t lineStart = folders.rfind('\n', inboxLine) + 1;
        const std::string inbox =
            folders.substr(lineStart, folders.find('\t', lineStart) - lineStart);
        const std::string items = Cli(options, {"items", "--json", store.file, "1", inbox});
        const auto& values = corpus.shortValues;
        for (size_t i = 0; i < values.size(); ++i) {
            tally.Count(items.find(JsonQuoted(values[i]) + ", ") != std::string::npos, values[i]);
            tally.Count(items.find(", " + JsonQuoted(values[(i + 1) % values.size()]) + ", ") !=
                            std::string::npos,
                        values[(i + 1) % values.size()]);
        }
        std::set<std::string> bodies;
        for (size_t i = 1; i <= corpus.phrases.size(); ++i) {
            const std::string message =
                Cli(options, {"message", store.file, "1", inbox, std::to_string(i)});
            const size_t body = message.find("\n\n");
            if (body != std::string::npos && message.size() > body + 3) {
                bodies.insert(message.substr(body + 2, message.size() - body - 3));
            }
        }
        for (const std::string& phrase : corpus.phrases) {
            tally.Count(bodies.count(phrase) != 0, phrase);
        }
        return tally;
    }

    test::TempDir tmp_;
};

std::string Misses(const Tally& tally) {
    std::string text;
    for (size_t i = 0; i < tally.misses.size() && i < 10; ++i) {
        text += " " + tally.misses[i];
    }
    return text;
}

TEST_P(RealWordsTest, ComeBackExactlyAsUtf16AndAsEightBitText) {
    const Language& language = GetParam();
    const Corpus corpus = LanguageCorpus(language);
    ASSERT_GE(corpus.shortValues.size(), kShortValues / 4) << language.locale;
    ASSERT_FALSE(corpus.phrases.empty()) << language.locale;
    const std::string codePageOption = std::to_string(language.codePage);

    int readIn = 0;
    const Store unicode = Write(corpus, TextEncoding::Utf16, "unicode.edb");
    const Tally utf16 = Read(unicode, corpus, {}, readIn);
    const Store eightBit = Write(corpus, testdb::EightBitText(language.codePage), "8bit.edb");
    const Tally chosen = Read(eightBit, corpus, {"--code-page", codePageOption}, readIn);
    const Tally detected = Read(eightBit, corpus, {}, readIn);

    std::printf(
        "%-8s %5d  values %4zu  UTF-16 %6.1f %%  8-bit chosen %6.1f %%  8-bit detected "
        "%6.1f %% (read in %d)\n",
        language.locale, language.codePage, utf16.total, 100 * utf16.Rate(), 100 * chosen.Rate(),
        100 * detected.Rate(), readIn);
    EXPECT_EQ(utf16.exact, utf16.total) << Misses(utf16);
    EXPECT_EQ(chosen.exact, chosen.total) << Misses(chosen);
    EXPECT_GE(detected.Rate(), kLeastDetectedRate) << Misses(detected);
}

// The first column of the folder line holding folderId: the folder's path.
std::string FolderPath(const std::string& folders, const std::string& folderId) {
    const size_t line = folders.find("\t" + folderId + "\t");
    if (line == std::string::npos) {
        return {};
    }
    const size_t start = folders.rfind('\n', line) + 1;
    return folders.substr(start, folders.find('\t', start) - start);
}

// The short body of the index-th mail of the mixed store: the value after its subject.
const std::string& BodyOf(const std::vector<std::string>& values, size_t index) {
    return values[(index + 2) % values.size()];
}

// An old mailbox moved in from an 8-bit server keeps its 8-bit names beside the UTF-16 ones,
// and its mails' senders, subjects, recipient names and bodies: ties among them take their own
// columns' form, not the store's, although the 8-bit mailbox is the smaller.
TEST(MixedStoreTest, AUtf16AndAnEightBitMailboxAreEachReadExactly) {
    constexpr size_t kUtf16Values = 120;
    constexpr size_t kEightBitValues = 60;
    struct Part {
        Corpus corpus;
        TextEncoding encoding;
    };
    // A spread of each language's values: the detector knows Cyrillic names too little when
    // they are nearly all in capitals, as the first of the sorted values are.
    auto spread = [](const Language& language, size_t count) {
        Corpus corpus = LanguageCorpus(language);
        std::set<std::string> values(corpus.shortValues.begin(), corpus.shortValues.end());
        corpus.shortValues = Spread(values, count);
        return corpus;
    };
    const Part parts[] = {{spread({"ja", 932}, kUtf16Values), TextEncoding::Utf16},
                          {spread({"ru", 1251}, kEightBitValues), TextEncoding::Ansi1251}};
    test::TempDir tmp;
    testdb::StoreBuilder builder;
    std::vector<std::string> inboxIds;
    std::vector<std::string> sentIds;
    for (const Part& part : parts) {
        testdb::Mailbox mailbox;
        mailbox.name = part.corpus.phrases.front();
        mailbox.encoding = part.encoding;
        testdb::Folder top = testdb::MakeFolder(builder.AddMailbox(mailbox), "Top", "");
        top.encoding = part.encoding;
        const auto topId = builder.AddFolder(top);
        const auto& values = part.corpus.shortValues;
        for (const std::string& value : values) {
            testdb::Folder folder = testdb::MakeFolder(topId, value, "IPF.Note");
            folder.encoding = part.encoding;
            builder.AddFolder(folder);
        }
        testdb::Folder inbox = testdb::MakeFolder(topId, "Inbox", "IPF.Note");
        inbox.encoding = part.encoding;
        const auto inboxId = builder.AddFolder(inbox);
        inboxIds.push_back(testdb::HexText(inboxId));
        testdb::Folder sent = testdb::MakeFolder(topId, "Sent Items", "IPF.Note");
        sent.encoding = part.encoding;
        const auto sentId = builder.AddFolder(sent);
        sentIds.push_back(testdb::HexText(sentId));
        for (size_t i = 0; i < values.size(); ++i) {
            testdb::Item mail;
            mail.sender = values[i];
            mail.subject = values[(i + 1) % values.size()];
            mail.time = testdb::FileTimeFromUtc(2009, 3, 2, 8, 15, 0);
            mail.encoding = part.encoding;
            mail.content.text = BodyOf(values, i);
            builder.AddItem(inboxId, mail);
            // A sent mail lists the names it went to (its display-to text).
            mail.displayTo = values[i];
            builder.AddItem(sentId, mail);
        }
    }
    const std::string file = (tmp / "mixed.edb").string();
    builder.WriteTo(file);

    // Read with detection and with the 8-bit mailbox's code page chosen.
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, std::vector<std::string>{"--code-page", "1251"}}) {
        auto cli = [&](std::vector<std::string> arguments) {
            arguments.insert(arguments.begin() + 1, options.begin(), options.end());
            return RunCli(arguments, tmp.path()).out;
        };
        const std::string mailboxes = cli({"mailboxes", "--json", file});
        EXPECT_NE(mailboxes.find("\"codePage\": 1251"), std::string::npos) << mailboxes;
        std::string folders;
        for (const char* row : {"1", "2"}) {
            folders += cli({"folders", file, row});
        }
        for (size_t p = 0; p < std::size(parts); ++p) {
            const Corpus& corpus = parts[p].corpus;
            const auto& values = corpus.shortValues;
            EXPECT_NE(mailboxes.find(JsonQuoted("Mailbox - " + corpus.phrases.front())),
                      std::string::npos)
                << mailboxes;
            Tally tally;
            for (size_t i = 0; i < values.size(); ++i) {
                tally.Count(folders.find("\\Top\\" + values[i] + "\\\t") != std::string::npos,
                            values[i]);
            }
            const std::string inbox = FolderPath(folders, inboxIds[p]);
            ASSERT_FALSE(inbox.empty()) << folders;
            const std::string items = cli({"items", "--json", file, std::to_string(p + 1), inbox});
            for (size_t i = 0; i < values.size(); ++i) {
                const std::string& subject = values[(i + 1) % values.size()];
                tally.Count(items.find(JsonQuoted(values[i]) + ", ") != std::string::npos,
                            values[i]);
                tally.Count(items.find(", " + JsonQuoted(subject) + ", ") != std::string::npos,
                            subject);
            }
            const std::string sentPath = FolderPath(folders, sentIds[p]);
            ASSERT_FALSE(sentPath.empty()) << folders;
            const std::string sentItems =
                cli({"items", "--json", file, std::to_string(p + 1), sentPath});
            // Each row's recipient cell, then its subject.
            for (size_t i = 0; i < values.size(); ++i) {
                const std::string& subject = values[(i + 1) % values.size()];
                tally.Count(sentItems.find(JsonQuoted(values[i]) + ", " + JsonQuoted(subject)) !=
                                std::string::npos,
                            values[i]);
            }
            // Each inbox mail's body, by row: the rows keep the order the mails were written in.
            for (size_t i = 0; i < values.size(); ++i) {
                const std::string message =
                    cli({"message", file, std::to_string(p + 1), inbox, std::to_string(i + 1)});
                const size_t body = message.find("\n\n");
                const std::string read = body == std::string::npos ? "" : message.substr(body + 2);
                tally.Count(read == BodyOf(values, i) + "\n", BodyOf(values, i));
            }
            std::printf("mixed store%s, %s mailbox: %zu of %zu values exact\n",
                        options.empty() ? "" : " (--code-page 1251)", p == 0 ? "UTF-16" : "8-bit",
                        tally.exact, tally.total);
            EXPECT_EQ(tally.exact, tally.total) << Misses(tally);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, RealWordsTest, testing::ValuesIn(kLanguages),
                         [](const testing::TestParamInfo<Language>& info) {
                             std::string name = info.param.locale;
                             std::replace(name.begin(), name.end(), '_', 'X');
                             return name + "_" + std::to_string(info.param.codePage);
                         });

}  // namespace
}  // namespace velmor
