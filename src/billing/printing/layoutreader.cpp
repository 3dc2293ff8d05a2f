#include "billing/printing/layoutreader.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <limits>

namespace {

int32_t clampToInt32(double v) {
    if (std::isnan(v))
        return 0;
    if (v <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(v);
}

int32_t toInteger(const rapidjson::Value& v) {
    if (v.IsInt())
        return v.GetInt();
    if (v.IsNumber())
        return clampToInt32(v.IsDouble() ? std::round(v.GetDouble()) : v.GetDouble());
    if (v.IsTrue())
        return 1;
    if (v.IsString()) {
        bool ok = false;
        const int32_t n =
            QString::fromUtf8(v.GetString(), qsizetype(v.GetStringLength())).toInt(&ok, 10);
        return ok ? n : 0;
    }
    return 0;
}

const rapidjson::Value* member(const rapidjson::Value& obj, const char* key) {
    if (!obj.IsObject())
        return nullptr;
    const auto it = obj.FindMember(key);
    if (it == obj.MemberEnd() || it->value.IsNull())
        return nullptr;
    return &it->value;
}

} // namespace

bool ParseLayout(const QString& cont, rapidjson::Document& doc) {
    const QByteArray utf8 = cont.toUtf8();
    doc.Parse<rapidjson::kParseTrailingCommasFlag>(utf8.constData(), size_t(utf8.size()));
    if (doc.HasParseError() || !doc.IsArray())
        return false;
    for (const auto& row : doc.GetArray()) {
        if (!row.IsArray())
            return false;
        for (const auto& cell : row.GetArray()) {
            if (!cell.IsObject())
                return false;
        }
    }
    return true;
}

int32_t GetSafeInteger(const rapidjson::Value& obj, const char* key, int32_t def) {
    const rapidjson::Value* v = member(obj, key);
    return v ? toInteger(*v) : def;
}

QString GetSafeString(const rapidjson::Value& obj, const char* key, const QString& def) {
    const rapidjson::Value* v = member(obj, key);
    if (!v)
        return def;
    if (v->IsString())
        return QString::fromUtf8(v->GetString(), qsizetype(v->GetStringLength()));
    rapidjson::StringBuffer text;
    rapidjson::Writer<rapidjson::StringBuffer> writer(text);
    v->Accept(writer);
    return QString::fromUtf8(text.GetString(), qsizetype(text.GetSize()));
}
