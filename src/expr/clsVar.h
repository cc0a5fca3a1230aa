#pragma once
// The variable store: named doubles, created on first use, listed in the
// order of first use. Value keys ignore letter case (A-Z); the listing
// compares names exactly. The language's words are refused (error 59).
//
// setVar and getVar work in resume-next mode: they clear the error state on
// entry and record (never raise) their own error. Compiled expressions
// resolve a name once to a Ref and then skip the hash lookups; a Ref behaves
// exactly like its name, and Clear() invalidates every Ref (see generation()).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "expr/BasicError.h"
#include "expr/CompilerHints.h"

namespace tarnik {

class clsVar {
public:
    struct Ref {
        std::int32_t slot = -1;  // -1: a reserved word, never stored
        std::int32_t name = -1;
    };

    explicit clsVar(ErrorState& errors) : m_errors(&errors) {}

    void Clear();
    void setVar(std::u16string_view name, double value) { setVar(resolve(name), value); }
    std::optional<double> getVar(std::u16string_view name) { return getVar(resolve(name)); }
    [[nodiscard]] const std::vector<std::u16string>& VarNames() const { return m_varNames; }

    // Resolution neither creates nor lists the variable; the first getVar or
    // setVar through the Ref does, exactly as through the name.
    [[nodiscard]] Ref resolve(std::u16string_view name);
    inline void setVar(Ref ref, double value);
    inline std::optional<double> getVar(Ref ref);
    // setVar followed by getVar, as an assignment does: the value, or 0 with
    // error 59 recorded for a reserved word.
    TARNIK_ALWAYS_INLINE double assign(Ref ref, double value);
    // getVar for an operand inside an expression: the error state is left
    // alone (the evaluation settles it at its end) and a reserved word reads 0.
    TARNIK_ALWAYS_INLINE double operandValue(Ref ref);
    // Whether the name was used before, so that its value exists and an
    // access has nothing to do but read or write it (never for a reserved word).
    [[nodiscard]] bool isReady(Ref ref) const { return m_ready[ref.name] != 0; }
    // The value of a ready name.
    [[nodiscard]] double& readyValue(Ref ref) { return m_slots[ref.slot].value; }
    [[nodiscard]] std::uint64_t generation() const { return m_generation; }
    // The error state its resume-next operations clear and record into.
    [[nodiscard]] ErrorState& errors() const { return *m_errors; }
    // A name's value as a reader outside the run sees it: no error state
    // touched, nothing created or listed; 0 for a name never given a value.
    [[nodiscard]] double valueOf(std::u16string_view name) const;

private:
    struct Slot {
        double value = 0;
        bool exists = false;
    };
    struct Name {
        std::u16string text;
        bool listed = false;
    };

    void listName(std::int32_t name);
    // The stored value of a non-reserved name, listing the name and creating
    // the value (0) on first use.
    double& storage(Ref ref)
    {
        if (!m_ready[ref.name]) makeReady(ref);
        return m_slots[ref.slot].value;
    }
    void makeReady(Ref ref);
    double firstOperandRead(Ref ref);
    bool rejectReserved(Ref ref);

    ErrorState* m_errors;
    std::vector<Slot> m_slots;
    std::vector<Name> m_names;
    // Per name: listed, and its value exists, so an access has nothing left
    // to do. Kept apart from the names, one byte each, for the hot check.
    std::vector<std::uint8_t> m_ready;
    std::unordered_map<std::u16string, std::int32_t> m_slotByKey;
    std::unordered_map<std::u16string, std::int32_t> m_nameIndex;
    std::vector<std::u16string> m_varNames;
    std::uint64_t m_generation = 0;
};

inline void clsVar::setVar(Ref ref, double value)
{
    m_errors->clear();
    if (!rejectReserved(ref)) storage(ref) = value;
}

inline std::optional<double> clsVar::getVar(Ref ref)
{
    m_errors->clear();
    if (rejectReserved(ref)) return std::nullopt;
    return storage(ref);
}

inline double clsVar::assign(Ref ref, double value)
{
    m_errors->clear();
    if (!m_ready[ref.name] && rejectReserved(ref)) [[unlikely]] return 0;
    storage(ref) = value;
    return value;
}

inline double clsVar::operandValue(Ref ref)
{
    if (m_ready[ref.name]) [[likely]] return m_slots[ref.slot].value;  // never true for a reserved word
    return firstOperandRead(ref);
}

inline bool clsVar::rejectReserved(Ref ref)
{
    if (ref.slot >= 0) return false;
    m_errors->record(reservedNameError(m_names[ref.name].text));
    return true;
}

}  // namespace tarnik
