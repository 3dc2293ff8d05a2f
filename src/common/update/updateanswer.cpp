#include "common/update/updateanswer.h"

#include "common/update/updatequery.h"

#include <QStringList>
#include <QUrl>

#include <rapidjson/document.h>

namespace {

const rapidjson::Value* member(const rapidjson::Value& obj, const char* key) {
    const auto it = obj.FindMember(key);
    return it == obj.MemberEnd() ? nullptr : &it->value;
}

// Texts are read as written; a number sent where a text is expected is read as
// its digits, so a service that writes 251111 unquoted still compares.
QString text(const rapidjson::Value& obj, const char* key) {
    const rapidjson::Value* v = member(obj, key);
    if (!v)
        return QString();
    if (v->IsString())
        return QString::fromUtf8(v->GetString(), int(v->GetStringLength())).trimmed();
    if (v->IsInt64())
        return QString::number(v->GetInt64());
    return QString();
}

// A flag may come as a number or as a quoted number; anything else is 0.
int32_t integer(const rapidjson::Value& obj, const char* key) {
    const rapidjson::Value* v = member(obj, key);
    if (!v)
        return 0;
    if (v->IsInt())
        return v->GetInt();
    if (v->IsString()) {
        bool ok = false;
        const int32_t n = QString::fromUtf8(v->GetString()).trimmed().toInt(&ok);
        return ok ? n : 0;
    }
    return 0;
}

const QString kRule = QString(44, QLatin1Char('-'));
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString UpdateQueryUrl(const QString& base) {
    QString b = base.trimmed();
    if (b.isEmpty())
        return QString();
    while (b.endsWith(QLatin1Char('/')))
        b.chop(1);
    return b + QStringLiteral("/api/index.php?s=Update&a=index_json") +
           QStringLiteral("&version=") + kMainVersion + QStringLiteral("&subversion=") +
           kSubVersion;
}

std::optional<TUpdateAnswer> ParseUpdateAnswer(const QString& text_) {
    if (!text_.contains(QStringLiteral("\"version\"")))
        return std::nullopt;
    const QByteArray utf8 = text_.toUtf8();
    rapidjson::Document doc;
    doc.Parse(utf8.constData(), size_t(utf8.size()));
    if (doc.HasParseError() || !doc.IsObject())
        return std::nullopt;
    TUpdateAnswer a;
    a.version = text(doc, "version");
    a.subversion = text(doc, "subversion");
    a.updateversion = text(doc, "updateversion");
    for (const QString* v : {&a.version, &a.subversion, &a.updateversion})
        if (v->size() > kMaxVersionChars)
            return std::nullopt;
    a.isupdate = integer(doc, "isupdate");
    a.upstr = text(doc, "upstr");
    if (a.upstr.size() > kMaxUpstrChars)
        a.upstr = a.upstr.left(kMaxUpstrChars - 1) + QStringLiteral("…");
    a.downupdateurl = text(doc, "downupdateurl");
    a.isupupdate = integer(doc, "isupupdate");
    a.helpurl = text(doc, "helpurl");
    for (QString* address : {&a.downupdateurl, &a.helpurl})
        if (address->size() > kMaxAddressChars)
            address->clear();
    a.hasVersion = member(doc, "version") != nullptr;
    a.hasSubversion = member(doc, "subversion") != nullptr;
    return a;
}

std::optional<QString> UpdateOfferText(const TUpdateAnswer& answer) {
    if (answer.version == kMainVersion || answer.isupdate != 1)
        return std::nullopt;
    return QStringLiteral("检测到软件有新的更新") + kCrLf + answer.upstr;
}

QString VersionComparisonText(const QString& version, const QString& subversion) {
    QString result = QStringLiteral("当前软件为最新版本无须升级");
    if (version != kMainVersion)
        result = QStringLiteral("当前版本太低，须要升级");
    if (subversion != kSubVersion)
        result = QStringLiteral("当前版本子版本不一致，可升级");
    const QStringList lines = {QStringLiteral("线上主版本：") + version,
                               kRule,
                               QStringLiteral("软件主版本：") + kMainVersion,
                               kRule,
                               QStringLiteral("线上子版本：") + subversion,
                               kRule,
                               QStringLiteral("当前子版本：") + kSubVersion,
                               kRule,
                               result};
    return lines.join(kCrLf);
}

QString VersionComparisonBox(const TUpdateReply& reply) {
    switch (reply.kind) {
    case TUpdateReply::TKind::NotConfigured:
        return QStringLiteral("未配置升级服务地址");
    case TUpdateReply::TKind::NoAnswer:
        return QStringLiteral("无法获取线上版本信息，请检查网络后重试");
    case TUpdateReply::TKind::TooLong:
        return QStringLiteral("线上版本信息无法识别");
    case TUpdateReply::TKind::Answered:
        break;
    }
    const auto answer = ParseUpdateAnswer(reply.text);
    if (!answer || !answer->hasVersion || !answer->hasSubversion)
        return QStringLiteral("线上版本信息无法识别");
    return VersionComparisonText(answer->version, answer->subversion);
}

QString VersionComparisonBox(const QString& answerText) {
    return VersionComparisonBox(TUpdateReply{answerText.isEmpty() ? TUpdateReply::TKind::NoAnswer
                                                                  : TUpdateReply::TKind::Answered,
                                             answerText});
}

bool IsWebAddress(const QString& address) {
    // Tolerant: a blank or a Chinese character in the path is sent encoded.
    const QUrl url(address.trimmed());
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}
