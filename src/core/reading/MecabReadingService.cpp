// The reading service on MeCab with an IPA dictionary in UTF-8 (Debian's
// mecab-ipadic-utf8), whose eighth feature field is the word's reading in
// katakana, helped by ENAMDICT and EDICT where they are installed.

#include <mecab.h>
#include <unicode/unorm2.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <vector>

#include "core/reading/EdrdgDictionaries.h"
#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"
#include "core/text/Sjis.h"

namespace tessaly {

namespace {

constexpr std::size_t kReadingField = 7;
constexpr std::size_t kMostReadingBytes = 1024;
// Another reading of a proper noun whose word cost is this close to the
// chosen one's is as likely a guess.
constexpr int kCloseWordCost = 2000;

// The EDRDG dictionaries, read once in the background; a file that is
// missing or unreadable is done without.
struct LoadedDictionaries {
    std::optional<HeadwordDictionary> names;
    std::optional<HeadwordDictionary> words;
    std::optional<EnglishWords> english;

    ReadingDictionaries View() const
    {
        return {names ? &*names : nullptr, words ? &*words : nullptr, english ? &*english : nullptr};
    }
};

LoadedDictionaries LoadDictionaries(const ReadingDictionaryPaths& paths)
{
    LoadedDictionaries loaded;
    std::string error;
    if (!paths.names.empty() && std::filesystem::exists(paths.names)) {
        loaded.names = HeadwordDictionary::Read(paths.names, HeadwordFile::Names, error);
    }
    if (!paths.words.empty() && std::filesystem::exists(paths.words)) {
        if (std::optional<std::string> text = ReadEucJp(paths.words, error)) {
            loaded.english = EnglishWords::Parse(*text);
            loaded.words = HeadwordDictionary::Parse(std::move(*text), HeadwordFile::Words);
        }
    }
    return loaded;
}

// Half-width katakana and full-width Latin letters and digits as the
// dictionary has them: NFKC.
std::string NormalizedUtf8(std::string_view sjisText)
{
    const std::u16string text = SjisToUtf16Lossy(sjisText);
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
    if (U_FAILURE(status)) {
        return Utf16ToUtf8(text);
    }
    std::u16string normalized(text.size() * 3 + 8, u'\0');
    const int32_t length = unorm2_normalize(nfkc, text.data(), static_cast<int32_t>(text.size()), normalized.data(),
        static_cast<int32_t>(normalized.size()), &status);
    if (U_FAILURE(status)) {
        return Utf16ToUtf8(text);
    }
    normalized.resize(static_cast<std::size_t>(length));
    return Utf16ToUtf8(normalized);
}

std::string FeatureField(std::string_view feature, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t comma = feature.find(',');
        if (comma == std::string_view::npos) {
            return {};
        }
        feature.remove_prefix(comma + 1);
    }
    std::string field(feature.substr(0, feature.find(',')));
    return field == "*" ? std::string() : field;
}

class MecabReadingService final : public ReadingService {
public:
    MecabReadingService(std::unique_ptr<MeCab::Model> model, std::unique_ptr<MeCab::Tagger> tagger,
        std::shared_future<LoadedDictionaries> dictionaries)
        : model_(std::move(model))
        , tagger_(std::move(tagger))
        , dictionaries_(std::move(dictionaries))
    {
    }
    ~MecabReadingService() override
    {
        tagger_.reset();
        model_.reset();
    }
    MecabReadingService(const MecabReadingService&) = delete;
    MecabReadingService& operator=(const MecabReadingService&) = delete;

    ReadingSuggestion Suggest(std::string_view sjisText) const override
    {
        return SuggestWith(sjisText, dictionaries_.get().View());
    }

    ReadingSuggestion SuggestWith(std::string_view sjisText, const ReadingDictionaries& dictionaries) const
    {
        // A reading serves sorting and the kana index: the first characters
        // of a text make it, so that a huge title costs what a long one does.
        std::size_t prefix = 0;
        while (prefix < sjisText.size() && prefix < kMostReadingBytes) {
            prefix += sjis::CharLength(sjisText, prefix);
        }
        const bool cut = prefix < sjisText.size();
        const std::string sentence = NormalizedUtf8(sjisText.substr(0, prefix));
        const std::vector<ReadingToken> tokens = Tokens(sentence);
        ReadingSuggestion suggestion = ComposeReading(sentence, tokens, dictionaries);
        suggestion.complete = suggestion.complete && !cut;
        return suggestion;
    }

private:
    std::vector<ReadingToken> Tokens(const std::string& sentence) const
    {
        // One lattice per call, so that threads can share the service.
        const std::unique_ptr<MeCab::Lattice> lattice(model_->createLattice());
        std::vector<ReadingToken> tokens;
        if (!lattice) {
            return tokens;
        }
        lattice->set_sentence(sentence.c_str());
        if (!tagger_->parse(lattice.get())) {
            return tokens;
        }
        for (const MeCab::Node* node = lattice->bos_node(); node; node = node->next) {
            if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) {
                continue;
            }
            ReadingToken token{std::string(node->surface, node->length), FeatureField(node->feature, kReadingField)};
            token.unknown = node->stat == MECAB_UNK_NODE;
            token.name = FeatureField(node->feature, 1) == "固有名詞";
            token.person = token.name && FeatureField(node->feature, 2) == "人名";
            token.noun = FeatureField(node->feature, 0) == "名詞";
            token.contested = token.name && HasCloseRival(*lattice, *node, token.reading);
            tokens.push_back(std::move(token));
        }
        return tokens;
    }

    // Another entry for the same letters with another reading, nearly as
    // cheap: the dictionary cannot tell which is meant.
    static bool HasCloseRival(MeCab::Lattice& lattice, const MeCab::Node& chosen, const std::string& reading)
    {
        const auto begin = static_cast<std::size_t>(chosen.surface - lattice.sentence());
        for (const MeCab::Node* rival = lattice.begin_nodes(begin); rival; rival = rival->bnext) {
            if (rival != &chosen && rival->length == chosen.length && rival->stat == MECAB_NOR_NODE
                && std::abs(rival->wcost - chosen.wcost) <= kCloseWordCost) {
                const std::string rivalReading = FeatureField(rival->feature, kReadingField);
                if (!rivalReading.empty() && rivalReading != reading) {
                    return true;
                }
            }
        }
        return false;
    }

    std::unique_ptr<MeCab::Model> model_;
    std::unique_ptr<MeCab::Tagger> tagger_;
    std::shared_future<LoadedDictionaries> dictionaries_;
};

// Where distributions put the UTF-8 IPA dictionary (Debian's
// mecab-ipadic-utf8 first).
constexpr std::array<const char*, 4> kIpadicDirectories{"/var/lib/mecab/dic/ipadic-utf8",
    "/usr/lib/x86_64-linux-gnu/mecab/dic/ipadic-utf8", "/usr/lib/mecab/dic/ipadic-utf8",
    "/usr/lib64/mecab/dic/ipadic-utf8"};

bool IsDictionary(const std::filesystem::path& directory)
{
    std::error_code error;
    return std::filesystem::is_regular_file(directory / "sys.dic", error)
        && std::filesystem::is_regular_file(directory / "dicrc", error);
}

} // namespace

ReadingServiceStatus OpenReadingService(const ReadingDictionaryPaths& paths)
{
    const std::string& dictionaryDir = paths.mecabDir;
    ReadingServiceStatus status;
    // The dictionary is opened by its own path and its own dicrc as the
    // resource file: the system's default (/etc/mecabrc, switched by
    // Debian's alternatives when another dictionary is installed) may be a
    // dictionary without the readings in this form.
    std::string directory = dictionaryDir;
    if (directory.empty()) {
        const auto found = std::find_if(kIpadicDirectories.begin(), kIpadicDirectories.end(),
            [](const char* candidate) { return IsDictionary(candidate); });
        if (found == kIpadicDirectories.end()) {
            status.error = "no UTF-8 IPA dictionary for MeCab was found (looked in";
            for (const char* candidate : kIpadicDirectories) {
                status.error += std::string(" ") + candidate;
            }
            status.error += "); install mecab-ipadic-utf8";
            return status;
        }
        directory = *found;
    }
    if (!IsDictionary(directory)) {
        status.error = "'" + directory + "' holds no MeCab dictionary (sys.dic and dicrc)";
        return status;
    }
    std::string program = "tessaly";
    std::string resourceOption = "-r";
    std::string resourceFile = (std::filesystem::path(directory) / "dicrc").string();
    std::string directoryOption = "-d";
    std::vector<char*> arguments{
        program.data(), resourceOption.data(), resourceFile.data(), directoryOption.data(), directory.data()};
    std::unique_ptr<MeCab::Model> model(MeCab::createModel(static_cast<int>(arguments.size()), arguments.data()));
    if (!model) {
        status.error = "MeCab could not open the dictionary '" + directory + "': " + MeCab::getLastError();
        return status;
    }
    const MeCab::DictionaryInfo* info = model->dictionary_info();
    const std::string_view charset = info && info->charset ? info->charset : "";
    if (charset != "utf-8" && charset != "utf8" && charset != "UTF-8" && charset != "UTF8") {
        status.error = "the MeCab dictionary '" + directory + "' is in " + std::string(charset) + ", not in UTF-8";
        return status;
    }
    std::unique_ptr<MeCab::Tagger> tagger(model->createTagger());
    if (!tagger) {
        status.error = std::string("MeCab could not start: ") + MeCab::getLastError();
        return status;
    }
    auto service = std::make_unique<MecabReadingService>(std::move(model), std::move(tagger),
        std::async(std::launch::async, LoadDictionaries, paths).share());
    // A dictionary of another layout has no readings where the IPA one has them.
    if (service->SuggestWith(SJ("漢字"), {}) != ReadingSuggestion{SJ("かんじ"), true, false}) {
        status.error = "the MeCab dictionary '" + directory + "' gives no readings in the IPA dictionary's form";
        return status;
    }
    status.service = std::move(service);
    return status;
}

} // namespace tessaly
