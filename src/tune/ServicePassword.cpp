#include "ServicePassword.h"

namespace tune {

void LoginAttempts::reset()
{
    m_attempt = 1;
    m_succeeded = false;
    m_refused = false;
}

LoginAttempts::Outcome LoginAttempts::check(const QString &entry)
{
    // The tries of this opening are used up; only a new opening gives more.
    if (m_refused)
        return Outcome::Refused;
    if (entry == QString::fromUtf16(servicePassword)) {
        m_succeeded = true;
        return Outcome::Accepted;
    }
    m_succeeded = false;
    if (m_attempt >= MaxTries) {
        m_refused = true;
        return Outcome::Refused;
    }
    ++m_attempt;
    return Outcome::TryAgain;
}

} // namespace tune
