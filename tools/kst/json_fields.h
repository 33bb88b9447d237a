// Records as JSON, each from one table of its fields: a field is a name and how its value is
// got, and every value goes through one conversion, whatever record it stands in:
//   text (code page 1252, as scripts are written)  a UTF-8 string
//   numbers and flags                               numbers, true and false
//   an enumeration                                  its word from the enumeration's table
//   a list, an optional value                       an array; null when absent
//   a record                                        an object, from the record's own table
// Keys are camelCase; words of enumerations are lower case.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace kst::json {

using Json = nlohmann::ordered_json;

std::string utf8FromAnsi(std::string_view text);

template <typename Record> struct Field {
    std::string_view name;
    Json (*value)(const Record&);
    // Printed only where this answers true; always when there is none.
    bool (*shown)(const Record&) = nullptr;
};

// The table of a record type: a specialisation holding `static constexpr Field<R> kFields[]`.
template <typename Record> struct Fields;
// The words of an enumeration: a specialisation holding
// `static constexpr std::pair<E, std::string_view> kWords[]`.
template <typename Enum> struct Words;

template <typename T> Json toJson(const T& value);

template <typename Record> Json object(const Record& record, std::span<const Field<Record>> table) {
    Json result = Json::object();
    for (const Field<Record>& field : table) {
        if (!field.shown || field.shown(record))
            result[std::string(field.name)] = field.value(record);
    }
    return result;
}

// How a value of each kind becomes JSON; records, the general case, by their table.
template <typename T> struct Convert {
    static Json get(const T& record) { return object<T>(record, Fields<T>::kFields); }
};
template <> struct Convert<std::string> {
    static Json get(const std::string& text) { return utf8FromAnsi(text); }
};
template <> struct Convert<bool> {
    static Json get(bool flag) { return flag; }
};
template <typename T>
requires std::is_integral_v<T>
struct Convert<T> {
    static Json get(T number) { return number; }
};
template <typename E>
requires std::is_enum_v<E>
struct Convert<E> {
    static Json get(E value) {
        for (const auto& [known, word] : Words<E>::kWords) {
            if (known == value)
                return word;
        }
        return static_cast<std::underlying_type_t<E>>(value);
    }
};
template <typename T> struct Convert<std::optional<T>> {
    static Json get(const std::optional<T>& value) { return value ? toJson(*value) : Json(); }
};
template <typename T> struct Convert<std::vector<T>> {
    static Json get(const std::vector<T>& items) {
        Json result = Json::array();
        for (const T& item : items)
            result.push_back(toJson(item));
        return result;
    }
};

template <typename T> Json toJson(const T& value) {
    return Convert<T>::get(value);
}

// A field that is a member of its record: member<&Record::name>.
template <auto Member> struct MemberOf;
template <typename Record, typename T, T Record::*Member> struct MemberOf<Member> {
    using Owner = Record;
    static Json get(const Record& record) { return toJson(record.*Member); }
};
template <auto Member> constexpr auto member = &MemberOf<Member>::get;

} // namespace kst::json
