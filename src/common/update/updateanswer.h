#pragma once

// The version query of the update service and what its answer means: the
// offer at start-up and the text of the version comparison. Widget-free.

#include <QString>

#include <cstdint>
#include <optional>

inline const QString kMainVersion = QStringLiteral("251111");
inline const QString kSubVersion = QStringLiteral("02");

// base (scheme, host and port, optionally a path prefix) followed by the fixed
// path and query with the program's versions; empty when base is empty.
QString UpdateQueryUrl(const QString& base);

// The keys the program reads; texts trimmed, a missing key empty or 0.
struct TUpdateAnswer {
    QString version;
    QString subversion;
    int32_t isupdate = 0;
    QString upstr;
    QString downupdateurl;
    QString updateversion;
    int32_t isupupdate = 0;
    QString helpurl;
    bool hasVersion = false;
    bool hasSubversion = false;
};

// Bounds of the texts of an answer. A version longer than kMaxVersionChars
// makes the answer unusable; a longer description is cut; a longer address
// is not used.
inline constexpr qsizetype kMaxVersionChars = 32;
inline constexpr qsizetype kMaxUpstrChars = 4000;
inline constexpr qsizetype kMaxAddressChars = 2048;

// An answer is usable only when it holds the quoted key "version", is a JSON
// object and its versions are within their bound; anything else gives nothing.
std::optional<TUpdateAnswer> ParseUpdateAnswer(const QString& text);

// The text of the start-up offer box, or nothing when no offer is due.
std::optional<QString> UpdateOfferText(const TUpdateAnswer& answer);

// The nine lines of "版本比对" for a usable answer with both versions.
QString VersionComparisonText(const QString& version, const QString& subversion);

// True for an absolute http or https address with a host: the only help
// addresses that are opened.
bool IsWebAddress(const QString& address);

struct TUpdateReply;

// The whole "版本比对" box for what came of the query: the comparison, or
// which of no address, no answer and an unreadable answer it was.
QString VersionComparisonBox(const TUpdateReply& reply);
// The same for an answer text (empty when none arrived).
QString VersionComparisonBox(const QString& answerText);
