#pragma once

// How reading a service reply can fail. A reply slot throws one of these by value and
// catches it at its own end; it never travels further.
enum NetworkRequestExceptionType {
    Exc_Network = 0, // the transfer failed and left no body to read
    Exc_Declined = 1, // the service answered, but "result" is not true
    Exc_Decode = 2 // the body is not a JSON document
};
