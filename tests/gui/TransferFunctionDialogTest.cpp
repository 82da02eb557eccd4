int RunTransferFunctionDialogTests(int, char**) { return 0; }
