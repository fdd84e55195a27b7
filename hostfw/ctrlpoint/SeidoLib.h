#pragma once

#include "hostfw/HostTypes.h"

class PartSystem;

// Residuals and limits of a simplified network adjustment (seconds, cm, cm).
struct HOSTFW_API SEIDO_NET {
    double directionResidual = 0.0;
    double coordinateResidual = 0.0;
    double heightResidual = 0.0;
    double directionLimit = 0.0;
    double coordinateLimit = 0.0;
    double heightLimit = 0.0;
};

// Closure record of a check route: kind 1 traverse or single route, 2 unit polygon;
// closures and the forward/back difference in metres.
struct HOSTFW_API SEIDO_ROUTE {
    long routeKind = 0;
    double horizontalClosure = 0.0;
    double heightClosure = 0.0;
    double forwardBackDifference = 0.0;
};

// The stored accuracy results of network adjustments and check calculations.
class HOSTFW_API SeidoLib {
public:
    static int Get(PartSystem* handle, DWORD part, SEIDO_NET& out);
    static int Get(PartSystem* handle, DWORD part, SEIDO_ROUTE& out);
};
