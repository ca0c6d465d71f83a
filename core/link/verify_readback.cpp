#include "core/link/verify_readback.h"

#include "core/link/readout.h"
#include "core/link/verify.h"

namespace korvane::link {

ReadBackCheck checkReadBack(const model::RadioImage& written, Generation generation, const LinkTarget& target,
    serial::SerialPort& port, util::Clock& clock, LinkUi& ui)
{
    ReadBackCheck check;
    const ReadOutcome outcome = readRadio(verifyStartImage(written), target, port, clock, ui);
    check.readEnd = outcome.end;
    if (!outcome.success()) {
        check.findings.push_back(verifyReadFailed());
        return check;
    }
    for (const compare::ByteDifference& difference : compareProgrammed(written, outcome.image, generation))
        check.findings.push_back(verifyDifferenceMessage(difference));
    check.passed = check.findings.empty();
    if (check.passed) check.findings.push_back(verifyPassed());
    return check;
}

util::Message writeAndVerifyMessage(const ReadBackCheck& check, const std::optional<util::Message>& readFailure)
{
    using util::MessageIcon;
    if (check.passed)
        return { "写频完成，校验通过：读回的数据与写入的一致。", "校验通过", MessageIcon::Information, {} };
    if (check.readEnd != LinkEnd::Success)
        return { "写频完成，但无法读回对讲机中的数据，没有校验。" + (readFailure ? "\n" + readFailure->text : ""),
            "写频完成，未校验", MessageIcon::Exclamation, readFailure ? readFailure->detail : "" };
    // A radio that kept nothing differs in every byte: the first lines say enough.
    constexpr std::size_t kListed = 12;
    std::string text = "写频完成，但读回的数据与写入的不一致：";
    for (std::size_t i = 0; i < check.findings.size() && i < kListed; ++i)
        text += "\n" + check.findings[i].text;
    if (check.findings.size() > kListed) text += "\n……共 " + std::to_string(check.findings.size()) + " 处不同。";
    return { text, "校验失败", MessageIcon::Exclamation, {} };
}

} // namespace korvane::link
