#pragma once

// The command generator: turns one template into a numbered batch of command lines.
// The n-th "%d" of the template, counted from the left, becomes base n + step n * k for
// the k-th command, in wrapping 32-bit arithmetic. Pure code over plain values, so the
// main window, the tests and the benchmark all run exactly the same thing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace vormix {

constexpr int ParameterCount = 8;
using ParameterValues = std::array<std::int32_t, ParameterCount>;

// Longest decimal text of an int32: "-2147483648".
constexpr std::size_t MaxDecimalLength = 11;

// A non-owning reference to something callable. Calling through it costs one indirect
// call and never allocates, which std::function cannot promise. It refers to the
// callable it was made from, so it is meant for parameters: the callable must outlive
// the call that receives the reference.
template <class Signature>
class FunctionRef;

template <class R, class... Args>
class FunctionRef<R(Args...)> {
public:
    template <class F>
        requires(!std::is_same_v<std::remove_cvref_t<F>, FunctionRef> &&
                 std::is_object_v<std::remove_reference_t<F>> &&
                 std::is_invocable_r_v<R, std::remove_reference_t<F>&, Args...>)
    FunctionRef(F&& callable) noexcept  // implicit, so a lambda passes straight in
        : m_callable(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
          m_invoke(&Invoke<std::remove_reference_t<F>>)
    {
    }

    R operator()(Args... args) const { return m_invoke(m_callable, std::forward<Args>(args)...); }

private:
    template <class F>
    static R Invoke(void* callable, Args... args)
    {
        return std::invoke(*static_cast<F*>(callable), std::forward<Args>(args)...);
    }

    void* m_callable = nullptr;
    R (*m_invoke)(void*, Args...) = nullptr;
};

// Receives one command; the text is only valid during the call.
using CommandSink = FunctionRef<void(std::string_view)>;
// Receives the number of commands produced so far (1 after the first). 64 bits because
// a batch of k = 0 .. 2147483647 holds 2^31 commands.
using ProgressSink = FunctionRef<void(std::int64_t)>;

// Writes value in decimal ('-' for negatives, no leading zeros) at out, which must have
// room for MaxDecimalLength characters. Returns the end of the written text.
char* WriteDecimal(std::int32_t value, char* out) noexcept;

// True when the template holds at least one "%d" (lower-case d, both characters adjacent).
bool HasMarker(std::string_view templ) noexcept;

// Expands one template for any number of command indices. The template is split into
// literal pieces and markers once, here; each Expand then only writes the numbers and
// copies the pieces into a buffer sized once, so a batch allocates nothing per command.
class CommandExpander {
public:
    explicit CommandExpander(std::string_view templ, const ParameterValues& bases,
                             const ParameterValues& steps);

    // The command for index k. The view stays valid until the next Expand or until the
    // expander is destroyed.
    std::string_view Expand(std::int32_t k) noexcept;

    int MarkerCount() const noexcept { return m_markerCount; }

private:
    struct Piece {
        std::size_t offset = 0;
        std::size_t length = 0;
    };

    // The template, followed by a few zero bytes so that pieces can be copied in fixed blocks.
    std::string m_template;
    ParameterValues m_bases{};
    ParameterValues m_steps{};
    // Literal text around the markers: piece 0 before the first marker, piece n behind
    // marker n. The last one runs to the end and keeps any ninth and later "%d" as text.
    std::array<Piece, ParameterCount + 1> m_pieces{};
    int m_markerCount = 0;
    // Starts with piece 0, which no command changes, so Expand writes from behind it.
    std::string m_buffer;
};

// The command for index k: the n-th marker (n = 1 .. 8) becomes base n + step n * k.
std::string ExpandTemplate(std::string_view templ, const ParameterValues& bases,
                           const ParameterValues& steps, std::int32_t k);

// Hands over the commands for k = 0 .. n in order (none when n is negative); after each
// command onCommand is called, then onProgress with k + 1. An exception from either sink
// ends the run and propagates.
void GenerateCommands(std::string_view templ, const ParameterValues& bases,
                      const ParameterValues& steps, std::int32_t n, CommandSink onCommand,
                      ProgressSink onProgress);

}  // namespace vormix
