#pragma once

// Writing the site's pages through the output dialog, and opening the root
// page of the written site in the browser.

namespace tessaly {

class ItemListHost;

// startAtOnce: the run starts as the dialog opens (after the simple design).
void OpenProjectOutput(ItemListHost& host, bool startAtOnce);
void OpenRootPage(ItemListHost& host);

} // namespace tessaly
