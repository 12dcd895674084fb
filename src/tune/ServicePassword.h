#pragma once

#include <QString>

namespace tune {

// The service password of tune mode: fixed in the program, compared character for
// character (no trimming, no case folding, no number conversion).
inline constexpr char16_t servicePassword[] = u"5820419";

// Three tries per opening of the password dialog.
class LoginAttempts
{
public:
    enum class Outcome {
        Accepted, // the password: the dialog closes with success
        TryAgain, // wrong, tries are left: the dialog stays open
        Refused, // wrong on the last try (and every entry after it until reset()):
        // the dialog closes without success
    };
    static constexpr int MaxTries = 3;

    // A new opening: try 1, no success.
    void reset();
    Outcome check(const QString &entry);

    // Cancel, the close box or the last wrong try: this opening ends without success.
    void cancel() { m_succeeded = false; }

    // 1 plus the number of wrong entries so far in this opening.
    int attempt() const { return m_attempt; }
    bool succeeded() const { return m_succeeded; }

private:
    int m_attempt = 1;
    bool m_succeeded = false;
    bool m_refused = false;
};

} // namespace tune
