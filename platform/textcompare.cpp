#include "textcompare.h"

#include "platform/bucketsort.h"
#include "platform/qtstring.h"

#include <QChar>
#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <mutex>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>

namespace platform {
namespace {

// Decodes one code point at s[i]; an invalid sequence yields its first byte as a value above the Unicode
// range so that it sorts after every character and compares as that byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        ++i;
        return 0x110000u + c;
    }
    if (i + extra >= s.size()) {
        ++i;
        return 0x110000u + c;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0x110000u + c;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += extra + 1;
    return cp;
}

// Bytes both texts share from the start, backed up to the start of a character in both: equal bytes are
// equal characters, and since a decoding step never takes in an ASCII byte, the position after one is a
// step's start in both texts. File names in one folder share long prefixes, so this spares the character
// loop most of its work.
std::size_t SharedStart(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a.data() + k, 8);
        std::memcpy(&y, b.data() + k, 8);
        if (x != y)
            break;
    }
    while (k < n && a[k] == b[k])
        ++k;
    while (k > 0 && static_cast<unsigned char>(a[k - 1]) >= 0x80)
        --k;
    return k;
}

char32_t Fold(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp > 0x10FFFF)
        return cp;
    return QChar::toCaseFolded(cp);
}

bool IsAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// The process-wide collator of the collation locale, made when first needed after the locale was set. A
// collator is not to be used by two threads at once, so it is used under the lock. (No thread_local: the
// tag-reader plug-in compiles this file in, and a thread_local with a destructor would keep it loaded.)
class SharedCollator
{
    enum class Kind
    {
        Unknown,
        Folded,
        Collated,
    };

public:
    void SetLocale(std::string_view name)
    {
        const std::lock_guard lock(mutex_);
        name_ = std::string(name);
        made_ = false;
        collator_.reset();
        kind_.store(Kind::Unknown, std::memory_order_release);
    }
    std::string Locale()
    {
        const std::lock_guard lock(mutex_);
        return name_;
    }
    // Runs work with the collator, or with nullptr when the locale orders by folded code points (C,
    // POSIX).
    template <class Work>
    auto With(Work&& work)
    {
        const std::lock_guard lock(mutex_);
        if (!made_)
            Make();
        return work(collator_ ? &*collator_ : static_cast<const QCollator*>(nullptr));
    }

    // False when the locale orders by folded code points: then no comparison needs the lock.
    bool Collates()
    {
        Kind kind = kind_.load(std::memory_order_acquire);
        if (kind == Kind::Unknown)
            kind = With([](const QCollator* collator) { return collator ? Kind::Collated : Kind::Folded; });
        return kind == Kind::Collated;
    }

private:
    void Make()
    {
        const QLocale locale = name_.empty() ? QLocale::system() : QLocale(platform::ToQString(name_));
        if (locale.language() != QLocale::C) {
            collator_.emplace(locale);
            collator_->setCaseSensitivity(Qt::CaseInsensitive);
            collator_->setNumericMode(false);
            collator_->setIgnorePunctuation(false);
        }
        made_ = true;
        kind_.store(collator_ ? Kind::Collated : Kind::Folded, std::memory_order_release);
    }

    std::mutex mutex_;
    std::string name_;
    bool made_ = false;
    std::optional<QCollator> collator_;
    std::atomic<Kind> kind_{Kind::Unknown};
};

SharedCollator& Collator()
{
    static SharedCollator collator;
    return collator;
}

// Short texts stay on the stack.
using Utf16 = QVarLengthArray<char16_t, 128>;

// UTF-8 to UTF-16; an invalid byte becomes U+FFFD (CompareFolded tells such texts apart).
void ToUtf16(std::string_view s, Utf16& out)
{
    // Never more UTF-16 units than UTF-8 bytes.
    out.resize(static_cast<qsizetype>(s.size()));
    char16_t* to = out.data();
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            *to++ = c;
            ++i;
            continue;
        }
        const char32_t cp = NextCodePoint(s, i);
        if (cp > 0x10FFFF) {
            *to++ = u'\uFFFD';
        } else if (cp >= 0x10000) {
            *to++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            *to++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            *to++ = static_cast<char16_t>(cp);
        }
    }
    out.resize(to - out.data());
}

QStringView View(const Utf16& s)
{
    return QStringView(s.data(), s.size());
}

// Texts read one after another may lie anywhere in memory (in songs): each is asked for a few texts before
// it is read.
void AskAhead(const std::vector<std::string_view>& texts, std::size_t i)
{
    constexpr std::size_t kAhead = 8;
    if (i + kAhead < texts.size())
        __builtin_prefetch(texts[i + kAhead].data());
}

// Ranks of texts ordered by folded code points. The keys go into one buffer, and the sort compares their
// first eight bytes as one number (missing bytes as zero, which keeps the order) before reading the buffer;
// so does the ranking after it, which reads the buffer only for neighbours alike in those bytes.
void RankFolded(const std::vector<std::string_view>& texts, std::vector<std::uint32_t>& order,
                std::vector<std::uint32_t>& rank)
{
    std::string keys;
    std::vector<std::size_t> starts(texts.size() + 1);
    std::string key;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        AskAhead(texts, i);
        FoldKey(texts[i], key);
        starts[i] = keys.size();
        keys += key;
    }
    starts[texts.size()] = keys.size();
    const auto keyOf = [&](std::uint32_t i) {
        return std::string_view(keys).substr(starts[i], starts[i + 1] - starts[i]);
    };
    struct Keyed
    {
        std::uint64_t prefix;
        std::uint32_t text;
    };
    std::vector<Keyed> keyed(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::string_view text = keyOf(order[k]);
        std::uint64_t value = 0;
        for (std::size_t b = 0; b < 8; ++b)
            value = (value << 8) | (b < text.size() ? static_cast<unsigned char>(text[b]) : 0u);
        keyed[k] = Keyed{value, order[k]};
    }
    const auto before = [&](const Keyed& a, const Keyed& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : keyOf(a.text) < keyOf(b.text);
    };
    SortByLeadingBits(keyed, before);
    std::uint32_t next = 0;
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        if (k > 0 &&
            (keyed[k].prefix != keyed[k - 1].prefix || keyOf(keyed[k].text) != keyOf(keyed[k - 1].text)))
            ++next;
        order[k] = keyed[k].text;
        rank[keyed[k].text] = next;
    }
}

// Ranks of distinct texts in the collator's order, ties by folded code points. Many texts (a search's
// matches) are keyed and sorted in parts, one per thread with a collator of its own, then merged: the keys
// and comparisons are most of a keystroke's time in a collating locale.
void RankCollated(const QCollator& collator, const std::vector<std::string_view>& distinct,
                  std::vector<std::uint32_t>& order, std::vector<std::uint32_t>& rank)
{
    const std::size_t count = distinct.size();
    std::vector<std::optional<QCollatorSortKey>> keys(count);
    const auto compare = [&](std::uint32_t a, std::uint32_t b) {
        const int c = keys[a]->compare(*keys[b]);
        return c != 0 ? c : CompareFolded(distinct[a], distinct[b]);
    };
    const auto less = [&](std::uint32_t a, std::uint32_t b) { return compare(a, b) < 0; };
    constexpr std::size_t kPerPart = 4096;
    const std::size_t parts =
        std::clamp<std::size_t>(std::min<std::size_t>(std::thread::hardware_concurrency(), 8), 1,
                                std::max<std::size_t>(count / kPerPart, 1));
    const auto bound = [&](std::size_t part) {
        return order.begin() + static_cast<std::ptrdiff_t>(count * part / parts);
    };
    const auto keyAndSort = [&](std::size_t part, const QCollator& with) {
        Utf16 utf16;
        for (auto it = bound(part); it != bound(part + 1); ++it) {
            ToUtf16(distinct[*it], utf16);
            keys[*it].emplace(with.sortKey(View(utf16).toString()));
        }
        std::sort(bound(part), bound(part + 1), less);
    };
    if (parts == 1) {
        keyAndSort(0, collator);
    } else {
        const QLocale locale = collator.locale();
        const Qt::CaseSensitivity cs = collator.caseSensitivity();
        const bool numeric = collator.numericMode();
        const bool punctuation = collator.ignorePunctuation();
        std::vector<std::exception_ptr> failed(parts);
        const auto runPart = [&](std::size_t part) {
            try {
                QCollator own(locale);
                own.setCaseSensitivity(cs);
                own.setNumericMode(numeric);
                own.setIgnorePunctuation(punctuation);
                keyAndSort(part, own);
            } catch (...) {
                failed[part] = std::current_exception();
            }
        };
        std::vector<std::thread> threads;
        threads.reserve(parts - 1);
        for (std::size_t part = 1; part < parts; ++part) {
            // Out of threads (or of memory for one's stack), the part is keyed here: the threads already
            // started must still be joined.
            try {
                threads.emplace_back(runPart, part);
            } catch (const std::system_error&) {
                runPart(part);
            }
        }
        try {
            keyAndSort(0, collator);
        } catch (...) {
            failed[0] = std::current_exception();
        }
        for (std::thread& t : threads)
            t.join();
        for (const std::exception_ptr& e : failed)
            if (e)
                std::rethrow_exception(e);
        for (std::size_t width = 1; width < parts; width *= 2)
            for (std::size_t part = 0; part + width < parts; part += 2 * width)
                std::inplace_merge(bound(part), bound(part + width), bound(std::min(part + 2 * width, parts)),
                                   less);
    }
    std::uint32_t next = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && compare(order[k - 1], order[k]) != 0)
            ++next;
        rank[order[k]] = next;
    }
}

} // namespace

int CompareText(std::string_view a, std::string_view b)
{
    if (a == b || !Collator().Collates())
        return CompareFolded(a, b);
    Utf16 first;
    Utf16 second;
    const int c = Collator().With([&](const QCollator* collator) {
        if (!collator)
            return 0;
        ToUtf16(a, first);
        ToUtf16(b, second);
        return collator->compare(View(first), View(second));
    });
    if (c != 0)
        return c < 0 ? -1 : 1;
    return CompareFolded(a, b);
}

std::vector<std::uint32_t> TextOrderRanks(const std::vector<std::string_view>& texts)
{
    return Collator().With([&texts](const QCollator* collator) {
        if (!collator) {
            // Folding is cheap: every text gets its key, no search for repeats.
            std::vector<std::uint32_t> order(texts.size());
            std::iota(order.begin(), order.end(), 0u);
            std::vector<std::uint32_t> rank(texts.size());
            RankFolded(texts, order, rank);
            return rank;
        }
        // One collation key per distinct text: song lists repeat their artists, albums and genres many
        // times. The repeats are found through an open table of distinct numbers (plus one, 0 is free),
        // at most half full, which needs no allocation per text.
        std::size_t size = 16;
        while (size < texts.size() * 2)
            size <<= 1;
        std::vector<std::uint32_t> table(size, 0);
        const std::hash<std::string_view> hash;
        std::vector<std::string_view> distinct;
        std::vector<std::uint32_t> slotOf(texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            AskAhead(texts, i);
            std::size_t at = hash(texts[i]) & (size - 1);
            while (table[at] != 0 && distinct[table[at] - 1] != texts[i])
                at = (at + 1) & (size - 1);
            if (table[at] == 0) {
                distinct.push_back(texts[i]);
                table[at] = static_cast<std::uint32_t>(distinct.size());
            }
            slotOf[i] = table[at] - 1;
        }
        std::vector<std::uint32_t>().swap(table);
        std::vector<std::uint32_t> order(distinct.size());
        std::iota(order.begin(), order.end(), 0u);
        std::vector<std::uint32_t> rank(distinct.size());
        RankCollated(*collator, distinct, order, rank);
        for (std::uint32_t& slot : slotOf)
            slot = rank[slot];
        return slotOf;
    });
}

void SetCollationLocale(std::string_view name)
{
    Collator().SetLocale(name);
}

std::string CollationLocale()
{
    return Collator().Locale();
}

int CompareFolded(std::string_view a, std::string_view b)
{
    std::size_t i = SharedStart(a, b);
    std::size_t j = i;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            const char la = AsciiLower(static_cast<char>(ca));
            const char lb = AsciiLower(static_cast<char>(cb));
            if (la != lb)
                return static_cast<unsigned char>(la) < static_cast<unsigned char>(lb) ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        const char32_t fa = Fold(NextCodePoint(a, i));
        const char32_t fb = Fold(NextCodePoint(b, j));
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() == b.size() && IsAscii(a) && IsAscii(b)) {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (AsciiLower(a[i]) != AsciiLower(b[i]))
                return false;
        return true;
    }
    return CompareFolded(a, b) == 0;
}

int CompareStr(std::string_view a, std::string_view b)
{
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string UpperCase(std::string_view s)
{
    if (IsAscii(s)) {
        std::string r(s);
        for (char& c : r)
            c = AsciiUpper(c);
        return r;
    }
    return platform::FromQString(platform::ToQString(s).toUpper());
}

std::string LowerCase(std::string_view s)
{
    if (IsAscii(s)) {
        std::string r(s);
        for (char& c : r)
            c = AsciiLower(c);
        return r;
    }
    return platform::FromQString(platform::ToQString(s).toLower());
}

std::string Trim(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

std::size_t FindText(std::string_view haystack, std::string_view needle)
{
    if (needle.empty())
        return 0;
    if (IsAscii(needle) && IsAscii(haystack)) {
        if (needle.size() > haystack.size())
            return std::string_view::npos;
        for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
            std::size_t k = 0;
            while (k < needle.size() && AsciiLower(haystack[i + k]) == AsciiLower(needle[k]))
                ++k;
            if (k == needle.size())
                return i;
        }
        return std::string_view::npos;
    }
    const QString h = platform::ToQString(haystack);
    const QString n = platform::ToQString(needle);
    const qsizetype at = h.indexOf(n, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::string_view::npos;
    return static_cast<std::size_t>(h.left(at).toUtf8().size());
}

bool StartsText(std::string_view prefix, std::string_view s)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < prefix.size()) {
        if (j >= s.size())
            return false;
        if (Fold(NextCodePoint(prefix, i)) != Fold(NextCodePoint(s, j)))
            return false;
    }
    return true;
}

void FoldKey(std::string_view text, std::string& key)
{
    if (IsAscii(text)) {
        key.assign(text);
        for (char& c : key)
            c = AsciiLower(c);
        return;
    }
    key.clear();
    key.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            key.push_back(AsciiLower(static_cast<char>(c)));
            ++i;
            continue;
        }
        // Every folded code point (invalid bytes decode above the Unicode range) in the plain UTF-8 pattern,
        // which keeps the order of the values.
        const char32_t cp = Fold(NextCodePoint(text, i));
        if (cp < 0x80) {
            key.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            key.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            key.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            key.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            key.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            key.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            key.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            key.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            key.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            key.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
}

std::string FoldKey(std::string_view text)
{
    std::string key;
    FoldKey(text, key);
    return key;
}

} // namespace platform
