#pragma once
// Commands an automated test sends to a running player through its single-copy socket
// (only when PELLORAN_TEST_CONTROL is set): "click <caption>", "close", "quit", "minimize",
// "restore", "value <control> <number>", and with the simulated media "disc <track lengths in
// ms>", "key <array> <index>", "state <file>".

class QString;
class frmVCD;

namespace TestControl {

void Run(frmVCD& vcd, const QString& command);

}  // namespace TestControl
