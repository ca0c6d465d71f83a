#include "core/link/verify_readback.h"

#include "core/link/readout.h"
#include "core/link/verify.h"

namespace korvane::link {

ReadBackCheck checkReadBack(const model::RadioImage& written, Generation generation, const LinkTarget& target,
    SerialPort& port, Clock& clock, LinkUi& ui)
{
    ReadBackCheck check;
    const ReadOutcome outcome = readRadio(verifyStartImage(written), target, port, clock, ui);
    check.readEnd = outcome.end;
    if (!outcome.success()) {
        check.findings.push_back(verifyReadFailed());
        return check;
    }
    for (const VerifyDifference& difference : compareProgrammed(written, outcome.image, generation))
        check.findings.push_back(verifyDifferenceMessage(difference));
    check.passed = check.findings.empty();
    if (check.passed) check.findings.push_back(verifyPassed());
    return check;
}

} // namespace korvane::link
