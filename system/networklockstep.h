#pragma once

// The three network-lock scripts. The block and unblock scripts get the temp folder as their
// only argument; the emergency unblock gets none.
enum class NetworkLockStep { Block, Unblock, EmergencyUnblock };
