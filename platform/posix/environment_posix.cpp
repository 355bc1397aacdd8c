// Written with the navigation, lookup and reveal work.
