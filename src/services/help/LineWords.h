#pragma once
// A line of a program read the way the help reads it to talk about it: its
// code without the comment, a lower-case copy with the inside of every
// literal blanked (so a "==" in a text is never taken for code), and the
// words, numbers, literals and symbols in it, each with its place, so that a
// sentence can quote exactly what the beginner typed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnik {

struct LineWord {
    enum class Kind { Name, Number, Literal, Symbol };
    Kind kind = Kind::Symbol;
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct LineWords {
    std::u16string typed;   // the code as typed: the comment and trailing blanks cut off
    std::u16string masked;  // lower-case, every literal's inside blanked; as long as `typed`
    std::vector<LineWord> words;

    [[nodiscard]] std::u16string_view text(const LineWord& word) const
    {
        return std::u16string_view(typed).substr(word.begin, word.end - word.begin);
    }
    [[nodiscard]] std::u16string_view lower(const LineWord& word) const
    {
        return std::u16string_view(masked).substr(word.begin, word.end - word.begin);
    }
    // The typed text from the start of `first` to the end of `last`.
    [[nodiscard]] std::u16string_view span(const LineWord& first, const LineWord& last) const
    {
        return std::u16string_view(typed).substr(first.begin, last.end - first.begin);
    }
    // The statement as typed, without its indentation.
    [[nodiscard]] std::u16string_view statement() const
    {
        return words.empty() ? std::u16string_view{} : span(words.front(), words.back());
    }
    // Whether word `index` exists and is the lower-case `text`.
    [[nodiscard]] bool is(std::size_t index, std::u16string_view text) const
    {
        return index < words.size() && lower(words[index]) == text;
    }
    // The index of the first word `text` from `from` on; words.size() when none.
    [[nodiscard]] std::size_t find(std::u16string_view text, std::size_t from = 0) const;
};

[[nodiscard]] LineWords readLineWords(std::u16string_view line);

// Every line of the editor text, read by readLineWords.
[[nodiscard]] std::vector<LineWords> readProgramLines(std::u16string_view editorText);

// Line `number` (from 1) of `lines`; an empty line for a number outside them.
[[nodiscard]] const LineWords& lineNumbered(const std::vector<LineWords>& lines, std::int32_t number);

}  // namespace tarnik
