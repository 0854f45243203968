// A port on 127.0.0.1 where nothing listens: connections to it are refused.
#pragma once

int ClosedPort();
