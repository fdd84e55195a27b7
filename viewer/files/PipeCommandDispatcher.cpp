#include "viewer/files/PipeCommandDispatcher.h"
#include "platform/Log.h"

#include "viewer/files/PipeCommandCodes.h"
#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"

#include <cstdio>
#include <exception>

PipeCommandDispatcher::Outcome PipeCommandDispatcher::Dispatch(PipeMessage& message) noexcept
{
    try {
        return DispatchUnguarded(message);
    } catch (const std::exception& e) {
        tessara::Log("pipe command %u failed: %s; answered with result 0",
                     unsigned(message.Code()), e.what());
    } catch (...) {
        tessara::Log("pipe command %u failed; answered with result 0", unsigned(message.Code()));
    }
    message.SetResult(0);
    return Outcome::Served;
}

PipeCommandDispatcher::Outcome PipeCommandDispatcher::DispatchUnguarded(PipeMessage& message)
{
    using namespace pipecmd;
    const std::uint8_t code = message.Code();
    switch (code) {
    case kLoadHostData:
    case kWriteExchange:
    case kPointsInPolygons:
    case kWriteShownTins:
    case kLoadHostPolygons: {
        const auto path = PipePathAt(message, PipeMessage::kPathOffset);
        if (!path) {
            // No terminator within the field, or not CP932: nothing to act on.
            message.SetResult(0);
            if (code == kWriteExchange) message.SetInt32At(PipeMessage::kItemCountOffset, 0);
            if (code == kPointsInPolygons || code == kWriteShownTins)
                message.SetInt32At(PipeMessage::kHandlerResultOffset, 0);
            return Outcome::Served;
        }
        if (code == kLoadHostData) {
            message.SetResult(m_target.LoadHostDataFile(*path));
        } else if (code == kWriteExchange) {
            const int items = m_target.WriteExchangeFile(
                *path, message.Int32At(PipeMessage::kExchangeFlagsOffset),
                message.Int32At(PipeMessage::kPointLimitOffset));
            message.SetInt32At(PipeMessage::kItemCountOffset, items);
            message.SetResult(items > 0 ? 1 : 0);
        } else if (code == kPointsInPolygons) {
            message.SetInt32At(PipeMessage::kHandlerResultOffset, m_target.ExportPointsInPolygons(*path));
            message.SetResult(1);
        } else if (code == kWriteShownTins) {
            message.SetInt32At(PipeMessage::kHandlerResultOffset, m_target.WriteShownTins(*path));
            message.SetResult(1);
        } else {
            message.SetResult(m_target.ReadHostPolygonFile(*path));
        }
        return Outcome::Served;
    }
    case kClearHostPolygons:
        message.SetResult(m_target.ClearHostPolygons());
        return Outcome::Served;
    case kStopServer:
        message.SetResult(1);
        return Outcome::Stop;
    case kNoOperation:
        message.SetResult(1);
        return Outcome::Served;
    default:
        // Not served: the record goes back exactly as it came.
        return Outcome::Served;
    }
}
