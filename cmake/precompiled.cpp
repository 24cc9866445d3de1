// SPDX-License-Identifier: Apache-2.0
// Nothing of its own: the target only builds the precompiled header the others reuse.
