// The records of a file are singly linked lists (a `next` in each record):
// appended to in file order, released as a whole.
#pragma once

// Appends `item` to the singly linked list at *head (records with a `next`)
// whose last record is *last, in constant time however long the list is.
template <typename T>
void LIST_Append(T** head, T** last, T* item) {
  item->next = nullptr;
  if (*last)
    (*last)->next = item;
  else
    *head = item;
  *last = item;
}

// Deletes every record of the singly linked list at *head (records made
// with new); nulls *head.
template <typename T>
void LIST_DeleteAll(T** head) {
  while (head && *head) {
    T* next = (*head)->next;
    delete *head;
    *head = next;
  }
}
